// Telephone numbers as the user reads and types them. The unit keeps only digits; the text adds
// the brackets, blanks and dashes of the usual North American forms, and reading it back drops
// everything that is not a digit.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

struct DirectoryEntry;

// 7 digits as ddd-dddd, 10 as (ddd) ddd-dddd, 11 as d (ddd) ddd-dddd, any other count plain; a
// count above 12 counts as 12.
std::string FormatPhoneNumber(std::span<const uint16_t> digits, int count);
std::string FormatPhoneNumber(const DirectoryEntry& entry);

// Takes every digit of the text in order, skipping all else, up to the twelfth: the entry's digits
// and digit count.
void ReadPhoneNumber(std::string_view text, DirectoryEntry& entry);

} // namespace tolvane
