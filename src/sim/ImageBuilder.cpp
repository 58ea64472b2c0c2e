#include "ImageBuilder.h"

#include "image/ByteOrder.h"
#include "image/MemoryModule.h"
#include "image/SystemAreaLayout.h"

#include <algorithm>
#include <stdexcept>

namespace tolvane {

using namespace layout;

ImageBuilder::ImageBuilder(uint8_t sizeCode) : pageCount_(MemoryModule::PageCountOf(sizeCode)) {
    bytes_.assign(kSystemAreaSize + kPageSize * static_cast<std::size_t>(pageCount_), 0);
    bytes_[0] = 0x20;
    bytes_[1] = 0x55;
    bytes_[kSizeCode] = sizeCode;
    Firmware('5', '0', '0');
    const int blocks = pageCount_ + kSystemBlocks;
    for (int bank = 0; bank * kBlocksPerBank < blocks; ++bank) {
        const std::size_t entry = kBankTable + kBankEntrySize * static_cast<std::size_t>(bank);
        bytes_[entry] = 0x80;
        for (int b = bank * kBlocksPerBank; b < std::min(blocks, (bank + 1) * kBlocksPerBank);
             ++b) {
            if (b < kSystemBlocks) {
                continue;
            }
            bytes_[entry + 4 + static_cast<std::size_t>((b % 32) / 8)] |=
                static_cast<uint8_t>(1 << (b % 8));
            ++bytes_[entry + 1];
        }
    }
}

std::span<uint8_t> ImageBuilder::SystemArea() {
    return std::span<uint8_t>(bytes_).first(kSystemAreaSize);
}

std::size_t ImageBuilder::PageOffset(int page) const {
    if (page < 0 || page >= pageCount_) {
        throw std::out_of_range("page outside the image being built");
    }
    return kSystemAreaSize + kPageSize * static_cast<std::size_t>(page);
}

std::span<uint8_t> ImageBuilder::Page(int page) {
    return std::span<uint8_t>(bytes_).subspan(PageOffset(page), kPageSize);
}

ImageBuilder& ImageBuilder::Byte(std::size_t offset, uint8_t value) {
    SystemArea()[offset] = value;
    return *this;
}

ImageBuilder& ImageBuilder::BE16(std::size_t offset, uint16_t value) {
    WriteBE16(SystemArea(), offset, value);
    return *this;
}

ImageBuilder& ImageBuilder::Name(std::size_t offset, const std::string& text) {
    auto field = SystemArea().subspan(offset, kNameSize);
    std::fill(field.begin(), field.end(), ' ');
    std::copy_n(text.begin(), std::min(text.size(), kNameSize), field.begin());
    return *this;
}

ImageBuilder& ImageBuilder::Firmware(char major, char minor1, char minor2) {
    bytes_[kFirmwareVersion] = static_cast<uint8_t>(major);
    bytes_[kFirmwareVersion + 1] = static_cast<uint8_t>(minor1);
    bytes_[kFirmwareVersion + 2] = static_cast<uint8_t>(minor2);
    return *this;
}

int ImageBuilder::TakePage() {
    for (int page = 0; page < pageCount_; ++page) {
        const int block = page + kSystemBlocks;
        const std::size_t entry =
            kBankTable + kBankEntrySize * static_cast<std::size_t>(block / 32);
        uint8_t& map = bytes_[entry + 4 + static_cast<std::size_t>((block % 32) / 8)];
        const uint8_t bit = static_cast<uint8_t>(1 << (block % 8));
        if ((map & bit) != 0) {
            map = static_cast<uint8_t>(map & ~bit);
            --bytes_[entry + 1];
            return page;
        }
    }
    throw std::length_error("no free page left in the image being built");
}

std::vector<int> ImageBuilder::AddChain(int chain, int pageCount) {
    std::vector<int> pages;
    for (int i = 0; i < pageCount; ++i) {
        pages.push_back(TakePage());
    }
    const std::size_t entry = kChainTable + kChainEntrySize * static_cast<std::size_t>(chain);
    if (!pages.empty()) {
        const int block = pages.front() + kSystemBlocks;
        bytes_[entry] = static_cast<uint8_t>(0x80 | (block / 32));
        bytes_[entry + 1] = static_cast<uint8_t>(block % 32);
    }
    bytes_[entry + 2] = static_cast<uint8_t>(pageCount);
    for (std::size_t i = 0; i + 1 < pages.size(); ++i) {
        const int next = pages[i + 1] + kSystemBlocks;
        const int previous = pages[i] + kSystemBlocks;
        auto from = Page(pages[i]);
        auto to = Page(pages[i + 1]);
        from[kPageForwardLink] = static_cast<uint8_t>(0x80 | (next / 32));
        from[kPageForwardLink + 1] = static_cast<uint8_t>(next % 32);
        to[kPageBackLink] = static_cast<uint8_t>(previous / 32);
        to[kPageBackLink + 1] = static_cast<uint8_t>(previous % 32);
    }
    return pages;
}

std::vector<int> ImageBuilder::AddDirectory(int directoryPages, uint16_t capacity) {
    directoryChain_ = AddChain(14, directoryPages + 1);
    BE16(kDirectoryCapacity, capacity);
    return directoryChain_;
}

ImageBuilder& ImageBuilder::NamePageText(int slot, const std::string& text) {
    auto record =
        Page(directoryChain_.at(directoryChain_.size() - 1))
            .subspan(kNamePageRecords + kNamePageRecordSize * static_cast<std::size_t>(slot),
                     kNamePageRecordSize);
    std::fill_n(record.begin(), kNameSize, ' ');
    std::copy_n(text.begin(), std::min(text.size(), kNameSize), record.begin());
    return *this;
}

std::vector<int> ImageBuilder::AddEventLog(int pageCount) {
    eventLogChain_ = AddChain(15, pageCount);
    eventsWritten_ = 0;
    return eventLogChain_;
}

std::vector<uint8_t> ImageBuilder::EncodeEvent(uint8_t type, const EventTime& stamp,
                                               std::span<const uint8_t, 4> id, uint8_t mod,
                                               uint8_t context) {
    const uint32_t packed = static_cast<uint32_t>(stamp.month & 0x0F) << 20 |
                            static_cast<uint32_t>(stamp.day & 0x1F) << 15 |
                            static_cast<uint32_t>((stamp.hour * 60 + stamp.minute) & 0x7FF) << 4 |
                            static_cast<uint32_t>((stamp.second / 4) & 0x0F);
    return {type,
            static_cast<uint8_t>(stamp.year - 1990),
            static_cast<uint8_t>(packed >> 16),
            static_cast<uint8_t>(packed >> 8),
            static_cast<uint8_t>(packed),
            id[0],
            id[1],
            id[2],
            id[3],
            mod,
            context,
            0};
}

ImageBuilder& ImageBuilder::AddEvent(uint8_t type, const EventTime& stamp,
                                     std::span<const uint8_t, 4> id, uint8_t mod, uint8_t context) {
    const std::size_t page = eventsWritten_ / kEventSlotsPerPage;
    const std::size_t slot = eventsWritten_ % kEventSlotsPerPage;
    const auto record = EncodeEvent(type, stamp, id, mod, context);
    std::copy(record.begin(), record.end(),
              Page(eventLogChain_.at(page)).begin() + kPageHeaderSize + kEventRecordSize * slot);
    ++eventsWritten_;
    return *this;
}

} // namespace tolvane
