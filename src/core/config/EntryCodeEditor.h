// The rules of the entry code editor, on its own copy of the entry code list: codes are told apart
// by their digits and how many there are (0042 is not 42), and no two may be the same. The copy
// keeps an index of its codes, so that checking a new code against tens of thousands stays
// instant.
#pragma once

#include "config/EntryCode.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tolvane {

class EntryCodeEditor {
public:
    void Load(const EntryCodeArray& source);
    void Store(EntryCodeArray& target) const { target = copy_; }
    const EntryCodeArray& Codes() const { return copy_; }

    // What Add starts from: no digits, group 0, active.
    static EntryCode NewCode();
    // The entry code dialog's OK: the fields read into code, or the refusal that keeps the dialog
    // open. The text may hold at most eight digits.
    static std::optional<std::string>
    ReadFields(std::string_view codeText, std::string_view groupText, bool active, EntryCode& code);
    // The digits as text, leading zeros kept; a stored value above 9 as its hexadecimal letter.
    static std::string CodeText(const EntryCode& code);
    static bool SameCode(const EntryCode& a, const EntryCode& b);

    // Refused with "Entry Codes must be unique" when the code is in the list already; Edit does
    // not compare the record with itself. An index outside the list changes nothing.
    std::optional<std::string> Add(const EntryCode& code);
    std::optional<std::string> Edit(std::size_t index, const EntryCode& code);
    bool Remove(std::size_t index);

private:
    static uint64_t KeyOf(const EntryCode& code);
    void Forget(const EntryCode& code);

    EntryCodeArray copy_;
    // How many records of the copy carry each code. A list read from a unit may hold a code twice.
    std::unordered_map<uint64_t, int> counts_;
};

} // namespace tolvane
