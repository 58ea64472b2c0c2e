// Small pieces the image and report tests share: an image loaded from a builder with its own
// scripted user, byte slices, and directory entries written the way a person would read them.
#pragma once

#include "ImageBuilder.h"
#include "config/DirectoryEntry.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

using Bytes = std::vector<uint8_t>;

struct LoadedImage {
    ScriptedUserServices ui;
    MemoryModule image{ui};
    explicit LoadedImage(const ImageBuilder& builder) {
        EXPECT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk);
    }
};

inline Bytes Slice(std::span<const uint8_t> bytes, std::size_t offset, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

inline bool AllZero(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// digits as text, "5551234" for the digits 5, 5, 5, 1, 2, 3, 4.
inline std::unique_ptr<DirectoryEntry> MakeDirectoryEntry(uint16_t code, const std::string& name,
                                                          const std::string& digits = "",
                                                          bool extendedTalk = false) {
    auto entry = std::make_unique<DirectoryEntry>();
    entry->code = code;
    entry->name = name;
    for (const char digit : digits) {
        entry->digits[entry->digitCount++] = static_cast<uint16_t>(digit - '0');
    }
    entry->extendedTalk = extendedTalk ? 1 : 0;
    return entry;
}

} // namespace tolvane
