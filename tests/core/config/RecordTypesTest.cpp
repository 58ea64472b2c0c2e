// The record types' own rules: refused ranges and groups, the partial copy of directory entries,
// and lists that own and copy their entries.
#include "config/BlockRange.h"
#include "config/DirectoryList.h"
#include "config/EntryCode.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(BlockRange, SettersRefuseReversedRangesAndGroupsBeyondFifteen) {
    BlockRange range;
    range.SetRange(100, 200);
    range.SetValidationGroup(15);
    EXPECT_EQ(range, BlockRange(100, 200, 15));

    range.SetRange(200, 100);
    range.SetValidationGroup(16);
    EXPECT_EQ(range, BlockRange(0, 0, 0));
}

TEST(EntryCodeArray, RemovingMovesLaterCodesUpInOrder) {
    EntryCodeArray codes(3);
    for (uint8_t i = 0; i < 3; ++i) {
        codes[i].digitCount = i;
    }
    codes.erase(codes.begin());
    ASSERT_EQ(codes.size(), 2U);
    EXPECT_EQ(codes[0].digitCount, 1);
    EXPECT_EQ(codes[1].digitCount, 2);
}

TEST(DirectoryEntry, CopyTakesOnlyTheDigitsInUse) {
    DirectoryEntry target;
    target.digitCount = 7;
    target.digits = {9, 9, 9, 9, 9, 9, 9};
    DirectoryEntry source;
    source.code = 12;
    source.name = "Smith";
    source.digitCount = 3;
    source.digits = {1, 2, 3, 4, 4, 4};
    source.extendedTalk = 1;

    target.CopyFrom(source);
    EXPECT_EQ(target.code, 12);
    EXPECT_EQ(target.name, "Smith");
    EXPECT_EQ(target.digitCount, 3);
    EXPECT_EQ(target.extendedTalk, 1);
    EXPECT_EQ(target.digits[2], 3);
    EXPECT_EQ(target.digits[3], 9) << "digits beyond the copied count stay as they were";
    EXPECT_EQ(target.digits[6], 9);
}

TEST(DirectoryList, CopiesAreDeepAndRemovalKeepsOrder) {
    DirectoryList list;
    for (uint16_t code : {1, 2, 3}) {
        auto entry = std::make_unique<DirectoryEntry>();
        entry->code = code;
        list.Append(std::move(entry));
    }
    DirectoryList copy = list;
    copy.At(0).code = 99;
    EXPECT_EQ(list.At(0).code, 1) << "an editor's copy must not reach into the document";

    list.RemoveAt(1);
    ASSERT_EQ(list.Count(), 2U);
    EXPECT_EQ(list.At(1).code, 3);
    list.RemoveAt(5);
    EXPECT_EQ(list.Count(), 2U);
    list.RemoveAll();
    EXPECT_EQ(list.Count(), 0U);
    EXPECT_EQ(copy.Count(), 3U);
}

} // namespace
} // namespace tolvane
