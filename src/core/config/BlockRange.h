// A run of consecutive transmitter or card numbers issued together under one validation group.
#pragma once

#include <cstdint>

namespace tolvane {

class BlockRange {
public:
    static constexpr uint16_t kMaxValidationGroup = 15;

    BlockRange() = default;
    // Plain field values, as read from the image; the setters below keep the editing rules.
    BlockRange(uint16_t first, uint16_t last, uint16_t validationGroup)
        : first_(first), last_(last), validationGroup_(validationGroup) {}

    uint16_t First() const { return first_; }
    uint16_t Last() const { return last_; }
    uint16_t ValidationGroup() const { return validationGroup_; }

    // A reversed range is refused as a whole: both ends become 0.
    void SetRange(uint16_t first, uint16_t last);
    // A group beyond 15 does not exist on the unit; it becomes 0.
    void SetValidationGroup(uint16_t group);

    // Plain field writes, for joining runs read from the image.
    void SetFirst(uint16_t first) { first_ = first; }
    void SetLast(uint16_t last) { last_ = last; }

    bool operator==(const BlockRange&) const = default;

private:
    uint16_t first_ = 0;
    uint16_t last_ = 0;
    uint16_t validationGroup_ = 0;
};

} // namespace tolvane
