// Telephone numbers as text, both ways: the forms by digit count, and reading typed text back.
#include "config/DirectoryEntry.h"
#include "config/PhoneNumberText.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

namespace tolvane {
namespace {

TEST(PhoneNumberTest, FormsByDigitCount) {
    const std::vector<std::tuple<std::string, int, std::string>> cases{
        {"5551234567", 10, "(555) 123-4567"},
        {"15551234567", 11, "1 (555) 123-4567"},
        {"1234567", 7, "123-4567"},
        {"12345678", 8, "12345678"},
        {"123456", 6, "123456"},
        {"", 0, ""},
        // Only the first count digits count, whatever the rest of the array holds.
        {"555123456789", 7, "555-1234"},
        {"123456789012", 13, "123456789012"},
        {"123456789012", 255, "123456789012"},
    };
    for (const auto& [text, count, expected] : cases) {
        std::array<uint16_t, 12> digits{};
        for (std::size_t i = 0; i < text.size(); ++i) {
            digits[i] = static_cast<uint16_t>(text[i] - '0');
        }
        EXPECT_EQ(FormatPhoneNumber(digits, count), expected) << text << " / " << count;
    }
}

TEST(PhoneNumberTest, ReadingKeepsDigitsOnlyUpToTwelve) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"(555) 123-4567", "(555) 123-4567"},   {"5551234567", "(555) 123-4567"},
        {"1 555 123 4567", "1 (555) 123-4567"}, {"555-1234 ext", "555-1234"},
        {"12345678901234", "123456789012"},     {" - -  ", ""},
    };
    for (const auto& [typed, shown] : cases) {
        DirectoryEntry entry;
        entry.digits.fill(9);
        ReadPhoneNumber(typed, entry);
        EXPECT_EQ(FormatPhoneNumber(entry), shown) << typed;
        // Digits beyond the count are cleared, so nothing stale reaches the image.
        for (std::size_t i = entry.digitCount; i < entry.digits.size(); ++i) {
            EXPECT_EQ(entry.digits[i], 0) << typed;
        }
    }
}

} // namespace
} // namespace tolvane
