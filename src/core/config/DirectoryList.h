// The telephone directory as the document holds it: entries in the order they were appended,
// owned by the list. Copies of the list are deep, so an editor's copy never shares an entry with
// the document.
#pragma once

#include "config/DirectoryEntry.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace tolvane {

class DirectoryList {
public:
    DirectoryList() = default;
    DirectoryList(const DirectoryList& other);
    DirectoryList& operator=(const DirectoryList& other);
    DirectoryList(DirectoryList&&) noexcept = default;
    DirectoryList& operator=(DirectoryList&&) noexcept = default;

    void Append(std::unique_ptr<DirectoryEntry> entry);
    DirectoryEntry& At(std::size_t index) { return *entries_.at(index); }
    const DirectoryEntry& At(std::size_t index) const { return *entries_.at(index); }
    void RemoveAt(std::size_t index);
    std::size_t Count() const { return entries_.size(); }
    void RemoveAll() { entries_.clear(); }

private:
    std::vector<std::unique_ptr<DirectoryEntry>> entries_;
};

} // namespace tolvane
