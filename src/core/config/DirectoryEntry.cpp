#include "config/DirectoryEntry.h"

#include <algorithm>

namespace tolvane {

void DirectoryEntry::CopyFrom(const DirectoryEntry& other) {
    extendedTalk = other.extendedTalk;
    digitCount = other.digitCount;
    const int count = std::min<int>(other.digitCount, kMaxDigits);
    std::copy_n(other.digits.begin(), count, digits.begin());
    name = other.name;
    code = other.code;
}

} // namespace tolvane
