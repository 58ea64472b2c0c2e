#include "config/BlockRange.h"

namespace tolvane {

void BlockRange::SetRange(uint16_t first, uint16_t last) {
    if (last < first) {
        first_ = 0;
        last_ = 0;
        return;
    }
    first_ = first;
    last_ = last;
}

void BlockRange::SetValidationGroup(uint16_t group) {
    validationGroup_ = group > kMaxValidationGroup ? 0 : group;
}

} // namespace tolvane
