// Entry codes and block codes in their page chains: unpacking a chain into the document's list and
// packing the list back, reusing the chain's pages, adding pages and releasing those left over.
#include "image/ByteOrder.h"
#include "image/MemoryModule.h"

#include <algorithm>

namespace tolvane {

using namespace layout;

namespace {

constexpr uint8_t kRecordInUse = 0x80;
constexpr uint8_t kRecordActive = 0x40;
constexpr uint8_t kBlockPageMarker = 0xA0;
constexpr uint8_t kBlockPageKind = 2;

int ChainOfKind(int kind) {
    switch (kind) {
    case kBlockCards:
        return kBlockCardChain;
    case kBlockTransmitters:
        return kBlockTransmitterChain;
    default:
        return -1;
    }
}

std::size_t EntryCodeSlot(int slot) {
    return kPageHeaderSize + kEntryCodeRecordSize * static_cast<std::size_t>(slot);
}

EntryCode DecodeEntryCode(std::span<const uint8_t> record) {
    EntryCode code;
    code.active = (record[0] & kRecordActive) != 0 ? 1 : 0;
    // The unit's own records may claim more digits than the eight nibbles hold.
    const int count = std::min(record[0] & 0x0F, EntryCode::kMaxDigits);
    code.digitCount = static_cast<uint8_t>(count);
    for (int j = 0; j < count; ++j) {
        const int nibble = count - 1 - j; // stored last digit first
        const uint8_t byte = record[1 + static_cast<std::size_t>(nibble / 2)];
        code.digits[static_cast<std::size_t>(j)] = nibble % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }
    code.validationGroup = record[5] & 0x0F;
    return code;
}

void EncodeEntryCode(const EntryCode& code, std::span<uint8_t> record) {
    const int count = std::min<int>(code.digitCount, EntryCode::kMaxDigits);
    std::fill(record.begin(), record.end(), 0);
    record[0] = static_cast<uint8_t>(kRecordInUse | (code.active != 0 ? kRecordActive : 0) | count);
    for (int nibble = 0; nibble < count; ++nibble) {
        const uint8_t digit = code.digits[static_cast<std::size_t>(count - 1 - nibble)] & 0x0F;
        record[1 + static_cast<std::size_t>(nibble / 2)] |=
            static_cast<uint8_t>(nibble % 2 == 0 ? digit << 4 : digit);
    }
    record[5] = static_cast<uint8_t>(code.validationGroup & 0x0F);
}

// Adds a run read from the image, joining it to a range of the same group that it continues.
void AddRun(std::vector<BlockRange>& ranges, int first, int last, int group) {
    if (last < first) {
        return;
    }
    for (BlockRange& range : ranges) {
        if (range.ValidationGroup() != group) {
            continue;
        }
        if (first != 0 && range.Last() + 1 == first) {
            range.SetLast(static_cast<uint16_t>(last));
            return;
        }
        if (range.First() - 1 == last) {
            range.SetFirst(static_cast<uint16_t>(first));
            return;
        }
    }
    ranges.emplace_back(static_cast<uint16_t>(first), static_cast<uint16_t>(last),
                        static_cast<uint16_t>(group));
}

void WriteBlockPage(std::span<uint8_t> page, int first, int last, uint16_t group,
                    const std::vector<uint16_t>& suspended) {
    std::fill(page.begin() + kPageHeaderSize, page.end(), 0);
    page[kPageHeaderByte2] = 0;
    page[kPageHeaderByte3] = kBlockPageKind;
    page[kBlockMarker] = kBlockPageMarker;
    WriteBE16(page, kBlockFirstCode, static_cast<uint16_t>(first));
    WriteBE16(page, kBlockLastCode, static_cast<uint16_t>(last));
    page[kBlockValidationGroup] = static_cast<uint8_t>(group & 0xFF);
    page[kBlockByte15] = 1;
    for (const uint16_t code : suspended) {
        if (code >= first && code <= last) {
            const int bit = code - first;
            page[kBlockSuspensionMap + static_cast<std::size_t>(bit / 8)] |=
                static_cast<uint8_t>(0x80 >> (bit % 8));
        }
    }
}

} // namespace

void MemoryModule::ReadEntryCodes(EntryCodeArray& codes) const {
    codes.clear();
    const int first = GetChainStart(kEntryCodeChain);
    const int count = GetChainPageCount(kEntryCodeChain);
    if (first == kNoPage || count == 0) {
        return;
    }
    for (const int page : WalkFrom(first, count).pages) {
        const auto bytes = GetPage(page);
        for (int slot = 0; slot < kEntryCodeSlots; ++slot) {
            const auto record = bytes.subspan(EntryCodeSlot(slot), kEntryCodeRecordSize);
            if ((record[0] & kRecordInUse) != 0) {
                codes.push_back(DecodeEntryCode(record));
            }
        }
    }
}

void MemoryModule::WriteEntryCodes(const EntryCodeArray& codes) {
    std::vector<bool> taken = PagesOfOtherChains(kEntryCodeChain);
    const int first = StartChainForWriting(kEntryCodeChain, codes.empty(), "entry codes", taken);
    if (first == kNoPage) {
        return;
    }
    ClearPageData(first);
    int current = first;
    GetPage(current)[kPageHeaderByte2] = kEntryCodeSlots;
    int pagesUsed = 1;
    int slot = 0;
    for (std::size_t r = 0; r < codes.size(); ++r) {
        if (r > 0 && r % kEntryCodeSlots == 0) {
            GetPage(current)[kPageHeaderByte2] = kEntryCodePageLeftForNext;
            const int next = NextPageForWriting(current, taken);
            if (next == kNoPage) {
                // The full page stays the last one: it has no free slot, and says so.
                GetPage(current)[kPageHeaderByte2] = 0;
                ShowOutOfPages("entry codes");
                break;
            }
            current = next;
            ClearPageData(current);
            GetPage(current)[kPageHeaderByte2] = kEntryCodeSlots;
            ++pagesUsed;
            slot = 0;
        }
        auto page = GetPage(current);
        EncodeEntryCode(codes[r], page.subspan(EntryCodeSlot(slot++), kEntryCodeRecordSize));
        --page[kPageHeaderByte2];
    }

    FinishChain(kEntryCodeChain, current, pagesUsed, taken);
}

void MemoryModule::ReadBlockCodes(BlockCodeList& list, int kind) const {
    list.Clear();
    const int chain = ChainOfKind(kind);
    if (chain < 0) {
        return;
    }
    const int first = GetChainStart(chain);
    if (first == kNoPage) {
        return;
    }
    for (const int page : WalkFrom(first, GetChainPageCount(chain)).pages) {
        const auto bytes = GetPage(page);
        const int runFirst = ReadBE16(bytes, kBlockFirstCode);
        const int runLast = ReadBE16(bytes, kBlockLastCode);
        AddRun(list.ranges, runFirst, runLast, bytes[kBlockValidationGroup]);
        const int length = std::min(runLast - runFirst + 1, kBlockCodesPerPage);
        for (int k = 0; k < length; ++k) {
            const uint8_t byte = bytes[kBlockSuspensionMap + static_cast<std::size_t>(k / 8)];
            if ((byte & (0x80 >> (k % 8))) != 0) {
                list.suspended.push_back(static_cast<uint16_t>(runFirst + k));
            }
        }
    }
}

void MemoryModule::WriteBlockCodes(const BlockCodeList& list, int kind) {
    const int chain = ChainOfKind(kind);
    if (chain < 0) {
        return;
    }
    std::vector<bool> taken = PagesOfOtherChains(chain);
    const int first = StartChainForWriting(chain, list.ranges.empty(), "block codes", taken);
    if (first == kNoPage) {
        return;
    }
    int current = first;
    int pagesUsed = 0;
    for (const BlockRange& range : list.ranges) {
        const int rangeFirst = range.First();
        const int rangeLast = range.Last();
        for (int runFirst = rangeFirst; runFirst <= rangeLast; runFirst += kBlockCodesPerPage) {
            if (pagesUsed > 0) {
                const int next = NextPageForWriting(current, taken);
                if (next == kNoPage) {
                    // The rest of this range is lost; the next range tries again, so the
                    // user hears of every range that did not fit.
                    ShowOutOfPages("block codes");
                    break;
                }
                current = next;
            }
            // The page count counts pages written, so that it always matches the chain.
            ++pagesUsed;
            const int runLast = std::min(rangeLast, runFirst + kBlockCodesPerPage - 1);
            WriteBlockPage(GetPage(current), runFirst, runLast, range.ValidationGroup(),
                           list.suspended);
        }
    }

    FinishChain(chain, current, pagesUsed, taken);
}

int MemoryModule::EntryCodePagesNeeded(std::size_t codes) {
    return static_cast<int>((codes + kEntryCodeSlots - 1) / kEntryCodeSlots);
}

int MemoryModule::BlockCodePagesNeeded(const BlockCodeList& list) {
    int pages = 0;
    for (const BlockRange& range : list.ranges) {
        if (range.Last() >= range.First()) {
            pages += (range.Last() - range.First()) / kBlockCodesPerPage + 1;
        }
    }
    return pages;
}

int MemoryModule::PagesAvailableTo(int chain) const {
    const std::vector<bool> taken = PagesOfOtherChains(chain);
    std::vector<bool> available(taken.size(), false);
    if (GetChainStart(chain) != kNoPage) {
        for (const int page : WalkChain(chain, std::max<int>(GetChainPageCount(chain), 1)).pages) {
            available[static_cast<std::size_t>(page)] = true;
        }
    }
    int count = 0;
    for (std::size_t page = 0; page < taken.size(); ++page) {
        if (!taken[page] && (available[page] || IsMarkedFree(static_cast<int>(page)))) {
            ++count;
        }
    }
    // The chain's page count is one byte.
    return std::min(count, 255);
}

} // namespace tolvane
