// The rules of the telephone entry directory editor, on its own deep copy of the directory: the
// entry check (a code used once, a name, a number), and the image's capacity: its record slots,
// of which the first is the header, so that it holds one entry less.
#pragma once

#include "config/DirectoryList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class DirectoryEditor {
public:
    // capacity: the image's record slots ("Maximum # of Directory Codes", cut to what the directory
    // pages hold); 0 when it has no directory pages.
    explicit DirectoryEditor(uint16_t capacity) : capacity_(capacity), uses_(65536, 0) {}

    void Load(const DirectoryList& source);
    // Hands the entries over; the editor is empty afterwards.
    void Store(DirectoryList& target);
    const DirectoryList& Entries() const { return copy_; }
    uint16_t Capacity() const { return capacity_; }

    // The phone entry dialog's OK: the fields read into entry, or the refusal that keeps the
    // dialog open. The name is in the unit's character set, at most 24 characters.
    static std::optional<std::string> ReadFields(std::string_view codeText, std::string_view name,
                                                 std::string_view phoneText, bool extendedTalk,
                                                 DirectoryEntry& entry);

    // Before Add opens the dialog: refused once the list holds all the image can store.
    std::optional<std::string> CheckRoom() const;
    // The entry check, then the entry goes in (Add: at the end, after CheckRoom; Edit: in place of
    // the entry at index, which is not compared with itself). Refused entries leave the list as
    // it was.
    std::optional<std::string> Add(std::unique_ptr<DirectoryEntry> entry);
    std::optional<std::string> Edit(std::size_t index, std::unique_ptr<DirectoryEntry> entry);
    bool Remove(std::size_t index);

private:
    std::optional<std::string> Check(const DirectoryEntry& entry,
                                     std::optional<std::size_t> excluded) const;

    uint16_t capacity_;
    DirectoryList copy_;
    // How many entries of the copy use each directory code.
    std::vector<uint32_t> uses_;
};

} // namespace tolvane
