#include "config/EntryCodeEditor.h"

#include "config/NumberField.h"

#include <algorithm>

namespace tolvane {

namespace {

constexpr const char* kNotUnique = "Entry Codes must be unique";

} // namespace

void EntryCodeEditor::Load(const EntryCodeArray& source) {
    copy_ = source;
    counts_.clear();
    counts_.reserve(copy_.size());
    for (const EntryCode& code : copy_) {
        ++counts_[KeyOf(code)];
    }
}

EntryCode EntryCodeEditor::NewCode() {
    EntryCode code;
    code.active = 1;
    return code;
}

std::optional<std::string> EntryCodeEditor::ReadFields(std::string_view codeText,
                                                       std::string_view groupText, bool active,
                                                       EntryCode& code) {
    std::string why;
    const auto group = ReadNumberField("Validation Group", groupText, 0, 15, why);
    if (!group) {
        return why;
    }
    if (codeText.empty()) {
        return "An entry code must be entered";
    }
    if (!std::all_of(codeText.begin(), codeText.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return "Only numeric values (0-9) are allowed in an entry code";
    }
    // The dialog cannot take a ninth character; a spreadsheet can.
    if (codeText.size() > EntryCode::kMaxDigits) {
        return "An entry code has at most 8 digits";
    }
    code = EntryCode{};
    code.digitCount = static_cast<uint8_t>(codeText.size());
    for (std::size_t i = 0; i < codeText.size(); ++i) {
        code.digits[i] = static_cast<uint8_t>(codeText[i] - '0');
    }
    code.validationGroup = static_cast<uint16_t>(*group);
    code.active = active ? 1 : 0;
    return std::nullopt;
}

// A unit's record holds each digit in four bits: a value above 9 is shown as the hexadecimal
// letter it is, so that it is neither hidden nor changed, and is refused if the user keeps it.
std::string EntryCodeEditor::CodeText(const EntryCode& code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    const int count = std::min<int>(code.digitCount, EntryCode::kMaxDigits);
    for (int i = 0; i < count; ++i) {
        text += kDigits[code.digits[static_cast<std::size_t>(i)] & 0x0F];
    }
    return text;
}

bool EntryCodeEditor::SameCode(const EntryCode& a, const EntryCode& b) {
    return KeyOf(a) == KeyOf(b);
}

// The digit count above the digits, four bits each as the unit stores them.
uint64_t EntryCodeEditor::KeyOf(const EntryCode& code) {
    const int count = std::min<int>(code.digitCount, EntryCode::kMaxDigits);
    uint64_t digits = 0;
    for (int i = 0; i < count; ++i) {
        digits = digits << 4 | (code.digits[static_cast<std::size_t>(i)] & 0x0F);
    }
    return static_cast<uint64_t>(count) << 32 | digits;
}

void EntryCodeEditor::Forget(const EntryCode& code) {
    const auto found = counts_.find(KeyOf(code));
    if (found != counts_.end() && --found->second == 0) {
        counts_.erase(found);
    }
}

std::optional<std::string> EntryCodeEditor::Add(const EntryCode& code) {
    if (counts_.contains(KeyOf(code))) {
        return kNotUnique;
    }
    copy_.push_back(code);
    ++counts_[KeyOf(code)];
    return std::nullopt;
}

std::optional<std::string> EntryCodeEditor::Edit(std::size_t index, const EntryCode& code) {
    if (index >= copy_.size()) {
        return std::nullopt;
    }
    const auto found = counts_.find(KeyOf(code));
    const int others =
        (found == counts_.end() ? 0 : found->second) - (SameCode(copy_[index], code) ? 1 : 0);
    if (others > 0) {
        return kNotUnique;
    }
    Forget(copy_[index]);
    copy_[index] = code;
    ++counts_[KeyOf(code)];
    return std::nullopt;
}

bool EntryCodeEditor::Remove(std::size_t index) {
    if (index >= copy_.size()) {
        return false;
    }
    Forget(copy_[index]);
    copy_.erase(copy_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

} // namespace tolvane
