// A number typed into an editor's field. The editors refuse anything but an unsigned whole number
// within the field's bounds, and say which bounds, before the dialog may close.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// A refused field of a dialog with many: which one (in the dialog's order), so that the dialog
// can focus it, and why.
struct FieldRefusal {
    int field = 0;
    std::string message;

    bool operator==(const FieldRefusal&) const = default;
};

// The value, or nullopt with the refusal in why: "<label> must be a whole number from <low> to
// <high>." Blanks around the digits are allowed, signs and anything else are not.
std::optional<unsigned> ReadNumberField(std::string_view label, std::string_view text, unsigned low,
                                        unsigned high, std::string& why);

} // namespace tolvane
