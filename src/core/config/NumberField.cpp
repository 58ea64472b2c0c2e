#include "config/NumberField.h"

#include <charconv>

namespace tolvane {

std::optional<unsigned> ReadNumberField(std::string_view label, std::string_view text, unsigned low,
                                        unsigned high, std::string& why) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    const std::string_view digits =
        first == std::string_view::npos ? std::string_view() : text.substr(first, last - first + 1);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
        value >= low && value <= high) {
        return value;
    }
    why = std::string(label) + " must be a whole number from " + std::to_string(low) + " to " +
          std::to_string(high) + ".";
    return std::nullopt;
}

} // namespace tolvane
