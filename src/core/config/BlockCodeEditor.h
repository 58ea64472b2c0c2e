// The rules of the block code editor, on its own copy of a block transmitter or block card list:
// ranges in the order entered, and suspended codes that must lie inside some range. The window's
// dialog and the spreadsheet import both go through it, so both refuse the same things.
#pragma once

#include "config/BlockCodeList.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class BlockCodeEditor {
public:
    void Load(const BlockCodeList& source) { copy_ = source; }
    void Store(BlockCodeList& target) const { target = copy_; }
    const BlockCodeList& List() const { return copy_; }

    // The range editor's OK: the three fields read into range (its setters apply), or the
    // refusal that keeps the range editor open.
    static std::optional<std::string> ReadRange(std::string_view start, std::string_view end,
                                                std::string_view group, BlockRange& range);
    // The suspend dialog's OK: the code, or the refusal that keeps it open.
    static std::optional<std::string> ReadSuspendCode(std::string_view text, uint16_t& code);

    void AddRange(const BlockRange& range) { copy_.ranges.push_back(range); }
    // Index outside the ranges: nothing happens and false comes back.
    bool EditRange(std::size_t index, const BlockRange& range);
    // The suspended codes that lay in the range stay where they are.
    bool RemoveRange(std::size_t index);

    // Refused with its message when no range covers the code; a code may be suspended twice.
    std::optional<std::string> AddSuspended(uint16_t code);
    // Removes one occurrence of the code, wherever it stands; false when there is none.
    bool RemoveSuspended(uint16_t code);
    // The suspended codes in ascending order, as the editor lists them.
    std::vector<uint16_t> SuspendedSorted() const;
    // The range that covers the code first, or nullopt.
    std::optional<std::size_t> RangeOf(uint16_t code) const;

private:
    BlockCodeList copy_;
};

} // namespace tolvane
