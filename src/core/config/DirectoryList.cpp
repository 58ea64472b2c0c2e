#include "config/DirectoryList.h"

namespace tolvane {

DirectoryList::DirectoryList(const DirectoryList& other) {
    entries_.reserve(other.entries_.size());
    for (const auto& entry : other.entries_) {
        entries_.push_back(std::make_unique<DirectoryEntry>(*entry));
    }
}

DirectoryList& DirectoryList::operator=(const DirectoryList& other) {
    if (this != &other) {
        DirectoryList copy(other);
        entries_ = std::move(copy.entries_);
    }
    return *this;
}

void DirectoryList::Append(std::unique_ptr<DirectoryEntry> entry) {
    if (entry) {
        entries_.push_back(std::move(entry));
    }
}

void DirectoryList::RemoveAt(std::size_t index) {
    if (index < entries_.size()) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

} // namespace tolvane
