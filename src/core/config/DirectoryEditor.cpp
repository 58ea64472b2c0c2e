#include "config/DirectoryEditor.h"

#include "config/NumberField.h"
#include "config/PhoneNumberText.h"

#include <algorithm>

namespace tolvane {

void DirectoryEditor::Load(const DirectoryList& source) {
    copy_ = source;
    std::fill(uses_.begin(), uses_.end(), 0);
    for (std::size_t i = 0; i < copy_.Count(); ++i) {
        ++uses_[copy_.At(i).code];
    }
}

void DirectoryEditor::Store(DirectoryList& target) {
    target = std::move(copy_);
    copy_ = DirectoryList();
    std::fill(uses_.begin(), uses_.end(), 0);
}

std::optional<std::string> DirectoryEditor::ReadFields(std::string_view codeText,
                                                       std::string_view name,
                                                       std::string_view phoneText,
                                                       bool extendedTalk, DirectoryEntry& entry) {
    std::string why;
    // A code above 65535 would reach the unit as its low 16 bits, another tenant's code perhaps:
    // it is refused like any other number out of bounds.
    const auto code = ReadNumberField("Directory Code", codeText, 0, 65535, why);
    if (!code) {
        return why;
    }
    // The image keeps no trailing blanks: the check must see the name as it will come back.
    std::string stored(name);
    stored.erase(stored.find_last_not_of(' ') + 1);
    // The dialog cannot take a 25th character, nor a line break or other control character; a
    // spreadsheet can.
    if (stored.size() > DirectoryEntry::kMaxNameLength) {
        return "A tenant name has at most 24 characters";
    }
    if (std::any_of(stored.begin(), stored.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || (byte >= 0x7F && byte <= 0x9F);
        })) {
        return "A tenant name cannot hold control characters";
    }
    entry.code = static_cast<uint16_t>(*code);
    entry.name = std::move(stored);
    ReadPhoneNumber(phoneText, entry);
    entry.extendedTalk = extendedTalk ? 1 : 0;
    return std::nullopt;
}

std::optional<std::string> DirectoryEditor::CheckRoom() const {
    if (capacity_ == 0 || copy_.Count() >= capacity_ - 1u) {
        return "Telephone entry list full  --  You must remove an entry before adding more.";
    }
    return std::nullopt;
}

std::optional<std::string> DirectoryEditor::Check(const DirectoryEntry& entry,
                                                  std::optional<std::size_t> excluded) const {
    if (copy_.Count() >= capacity_) {
        return "Directory code exceeds maximum limit of " +
               std::to_string(std::max<int>(capacity_ - 1, 0)) + ".";
    }
    const bool excludedUsesCode = excluded && copy_.At(*excluded).code == entry.code;
    if (uses_[entry.code] > (excludedUsesCode ? 1u : 0u)) {
        return "Directory code " + std::to_string(entry.code) + " is already being used.";
    }
    if (entry.name.empty()) {
        return "Tenant name required.";
    }
    if (entry.digitCount == 0) {
        return "Phone Number required.";
    }
    return std::nullopt;
}

std::optional<std::string> DirectoryEditor::Add(std::unique_ptr<DirectoryEntry> entry) {
    if (auto refusal = CheckRoom()) {
        return refusal;
    }
    if (auto refusal = Check(*entry, std::nullopt)) {
        return refusal;
    }
    ++uses_[entry->code];
    copy_.Append(std::move(entry));
    return std::nullopt;
}

std::optional<std::string> DirectoryEditor::Edit(std::size_t index,
                                                 std::unique_ptr<DirectoryEntry> entry) {
    if (index >= copy_.Count()) {
        return std::nullopt;
    }
    if (auto refusal = Check(*entry, index)) {
        return refusal;
    }
    --uses_[copy_.At(index).code];
    ++uses_[entry->code];
    copy_.At(index) = std::move(*entry);
    return std::nullopt;
}

bool DirectoryEditor::Remove(std::size_t index) {
    if (index >= copy_.Count()) {
        return false;
    }
    --uses_[copy_.At(index).code];
    copy_.RemoveAt(index);
    return true;
}

} // namespace tolvane
