// The telephone entry directory in chain 14: fixed 48-byte record slots on pages the unit placed,
// linked in name order, with the first and middle record named in the system area.
#include "image/ByteOrder.h"
#include "image/MemoryModule.h"

#include <algorithm>
#include <numeric>

namespace tolvane {

using namespace layout;

namespace {

constexpr uint8_t kRecordInUse = 0x80;
constexpr uint8_t kRecordExtendedTalk = 0x20;
constexpr std::size_t kRecordCount = 3;
constexpr std::size_t kRecordNext = 4;
constexpr std::size_t kRecordPrevious = 7;
constexpr std::size_t kRecordPhone = 12;
constexpr std::size_t kRecordName = 24;

std::size_t SlotOffset(std::size_t slot) {
    return kDirectorySlots + kDirectoryRecordSize * (slot % kDirectorySlotsPerPage);
}

void WriteAddress(std::span<uint8_t> bytes, std::size_t offset, UnitAddress address) {
    bytes[offset] = address.bank;
    WriteBE16(bytes, offset + 1, address.address);
}

// The name as the record holds it: at most 24 characters, and a zero byte ends it.
std::string StoredName(const std::string& name) {
    const std::string text = name.substr(0, kNameSize);
    return text.substr(0, text.find('\0'));
}

} // namespace

void MemoryModule::ReadDirectory(DirectoryList& list) {
    list.RemoveAll();
    directoryCapacity_ = GetMaximumDirectoryCodes();
    const int first = GetChainStart(kDirectoryChain);
    if (first == kNoPage) {
        directoryCapacity_ = 0;
        return;
    }
    const int directoryPages = GetChainPageCount(kDirectoryChain) - 1; // the last is the name page
    std::size_t slotsTaken = 0;
    for (const int page : WalkFrom(first, directoryPages).pages) {
        const auto bytes = GetPage(page);
        for (std::size_t slot = 0; slot < kDirectorySlotsPerPage; ++slot, ++slotsTaken) {
            if (slotsTaken >= directoryCapacity_) {
                return;
            }
            const auto record = bytes.subspan(SlotOffset(slot), kDirectoryRecordSize);
            if ((record[2] & kRecordInUse) == 0) {
                continue;
            }
            auto entry = std::make_unique<DirectoryEntry>();
            entry->code = ReadBE16(record, 0);
            entry->extendedTalk = (record[2] & kRecordExtendedTalk) != 0 ? 1 : 0;
            for (std::size_t i = 0; i < kDirectoryPhoneSize; ++i) {
                const uint8_t c = record[kRecordPhone + i];
                if (c >= '0' && c <= '9') {
                    entry->digits[entry->digitCount++] = static_cast<uint16_t>(c - '0');
                }
            }
            std::string name(record.begin() + kRecordName, record.end());
            name = name.substr(0, name.find('\0'));
            name.erase(name.find_last_not_of(' ') + 1);
            entry->name = std::move(name);
            list.Append(std::move(entry));
        }
    }
}

std::vector<int> MemoryModule::DirectoryRecordPages() const {
    if (GetChainStart(kDirectoryChain) == kNoPage) {
        return {};
    }
    const int directoryPages = GetChainPageCount(kDirectoryChain) - 1; // the last is the name page
    return WalkFrom(GetChainStart(kDirectoryChain), directoryPages).pages;
}

// Only the pages before the name page hold records, however large a capacity the image claims;
// slots that no page holds do not exist.
uint16_t MemoryModule::GetDirectorySlots() const {
    return static_cast<uint16_t>(std::min<std::size_t>(
        directoryCapacity_, DirectoryRecordPages().size() * kDirectorySlotsPerPage));
}

void MemoryModule::WriteDirectory(const DirectoryList& list) {
    if (directoryCapacity_ == 0) {
        return;
    }
    const std::vector<int> pages = DirectoryRecordPages();
    const std::size_t slots = GetDirectorySlots();
    if (slots == 0) {
        return;
    }
    // Slot 0 is the header, so one entry fewer than the slots fits; the rest have no slot, and
    // nothing written may name them.
    const std::size_t written = std::min(list.Count(), slots - 1);
    auto slotAddress = [&](std::size_t slot) {
        return GetUnitAddress(pages[slot / kDirectorySlotsPerPage], SlotOffset(slot));
    };

    std::vector<std::size_t> byName(written);
    std::iota(byName.begin(), byName.end(), 0);
    std::stable_sort(byName.begin(), byName.end(), [&](std::size_t a, std::size_t b) {
        return StoredName(list.At(a).name) < StoredName(list.At(b).name);
    });
    std::vector<std::size_t> position(written);
    for (std::size_t j = 0; j < written; ++j) {
        position[byName[j]] = j;
    }

    WriteBE16(system_, kDirectoryEntriesWritten, static_cast<uint16_t>(written));
    const UnitAddress none{};
    WriteAddress(system_, kDirectoryFirstRecord, written > 0 ? slotAddress(byName[0] + 1) : none);
    WriteAddress(system_, kDirectoryMiddleRecord,
                 written > 0 ? slotAddress(byName[written / 2] + 1) : none);

    const uint16_t firstCode = written > 0 ? list.At(0).code : 0;
    const uint16_t lastCode = written > 0 ? list.At(written - 1).code : 0;
    for (std::size_t slot = 0; slot < slots; ++slot) {
        auto record = GetPage(pages[slot / kDirectorySlotsPerPage])
                          .subspan(SlotOffset(slot), kDirectoryRecordSize);
        std::fill(record.begin(), record.end(), 0);
        if (slot == 0) {
            WriteBE16(record, 0, firstCode);
            std::fill_n(record.begin() + kRecordPhone, kDirectoryPhoneSize, '*');
            std::fill_n(record.begin() + kRecordName, kNameSize, ' ');
            continue;
        }
        if (slot > written) {
            WriteBE16(record, 0, lastCode);
            continue;
        }
        const std::size_t index = slot - 1;
        const DirectoryEntry& entry = list.At(index);
        WriteBE16(record, 0, entry.code);
        record[2] =
            static_cast<uint8_t>(kRecordInUse | (entry.extendedTalk ? kRecordExtendedTalk : 0));
        const std::size_t digits = std::min<std::size_t>(entry.digitCount, kDirectoryPhoneSize);
        record[kRecordCount] = static_cast<uint8_t>(digits);
        const std::size_t j = position[index];
        WriteAddress(record, kRecordNext, slotAddress(byName[(j + 1) % written] + 1));
        WriteAddress(record, kRecordPrevious, slotAddress(byName[(j + written - 1) % written] + 1));
        const std::size_t stars = kDirectoryPhoneSize - digits;
        std::fill_n(record.begin() + kRecordPhone, stars, '*');
        for (std::size_t d = 0; d < digits; ++d) {
            record[kRecordPhone + stars + d] = static_cast<uint8_t>('0' + entry.digits[d] % 10);
        }
        const std::string name = StoredName(entry.name);
        std::fill_n(record.begin() + kRecordName, kNameSize, ' ');
        std::copy(name.begin(), name.end(), record.begin() + kRecordName);
    }
}

} // namespace tolvane
