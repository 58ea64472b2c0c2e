#include "config/PhoneNumberText.h"

#include "config/DirectoryEntry.h"

#include <algorithm>

namespace tolvane {

std::string FormatPhoneNumber(std::span<const uint16_t> digits, int count) {
    count = std::clamp(count, 0, std::min<int>(12, static_cast<int>(digits.size())));
    std::string d;
    for (int i = 0; i < count; ++i) {
        d += static_cast<char>('0' + digits[static_cast<std::size_t>(i)]);
    }
    switch (count) {
    case 11:
        return d.substr(0, 1) + " (" + d.substr(1, 3) + ") " + d.substr(4, 3) + "-" + d.substr(7);
    case 10:
        // Started as a string, not a literal: GCC 12 warns falsely at -O3 on "literal" + string.
        return std::string("(").append(d, 0, 3) + ") " + d.substr(3, 3) + "-" + d.substr(6);
    case 7:
        return d.substr(0, 3) + "-" + d.substr(3);
    default:
        return d;
    }
}

std::string FormatPhoneNumber(const DirectoryEntry& entry) {
    return FormatPhoneNumber(entry.digits, entry.digitCount);
}

void ReadPhoneNumber(std::string_view text, DirectoryEntry& entry) {
    entry.digits.fill(0);
    std::size_t count = 0;
    for (const char c : text) {
        if (count == entry.digits.size()) {
            break;
        }
        if (c >= '0' && c <= '9') {
            entry.digits[count++] = static_cast<uint16_t>(c - '0');
        }
    }
    entry.digitCount = static_cast<uint16_t>(count);
}

} // namespace tolvane
