// Builds memory module images by intent: a formatted module of a given size, settings and names
// in the system area, chains placed on pages, directory and name pages, and event log records.
// The demo image and the tests both build their images with it; the code lists are packed by the
// image's own operations afterwards.
#pragma once

#include "reports/EventTime.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

class ImageBuilder {
public:
    // A module of the size code's geometry with every bank present and every page free, " U" at
    // its start and firmware 5.00.
    explicit ImageBuilder(uint8_t sizeCode);

    int PageCount() const { return pageCount_; }
    std::span<uint8_t> SystemArea();
    std::span<uint8_t> Page(int page);
    std::vector<uint8_t> Bytes() const { return bytes_; }

    ImageBuilder& Byte(std::size_t offset, uint8_t value);
    ImageBuilder& BE16(std::size_t offset, uint16_t value);
    // A 24-character blank-padded text field of the system area.
    ImageBuilder& Name(std::size_t offset, const std::string& text);
    ImageBuilder& Firmware(char major, char minor1, char minor2);

    // Takes the next free page out of the bank table, as the unit would hand it out.
    int TakePage();
    // A chain of the given number of linked pages, entered in the chain table with its count.
    std::vector<int> AddChain(int chain, int pageCount);

    // The directory chain: directoryPages record pages then the name page, and the capacity.
    std::vector<int> AddDirectory(int directoryPages, uint16_t capacity);
    // Text slot n of the name page (the last page of the directory chain).
    ImageBuilder& NamePageText(int slot, const std::string& text);

    // The event log chain; records then go into its slots in order.
    std::vector<int> AddEventLog(int pageCount);
    ImageBuilder& AddEvent(uint8_t type, const EventTime& stamp, std::span<const uint8_t, 4> id,
                           uint8_t mod, uint8_t context);
    // The twelve bytes of an event record.
    static std::vector<uint8_t> EncodeEvent(uint8_t type, const EventTime& stamp,
                                            std::span<const uint8_t, 4> id, uint8_t mod,
                                            uint8_t context);

private:
    std::size_t PageOffset(int page) const;

    std::vector<uint8_t> bytes_;
    int pageCount_ = 0;
    std::vector<int> directoryChain_;
    std::vector<int> eventLogChain_;
    std::size_t eventsWritten_ = 0;
};

} // namespace tolvane
