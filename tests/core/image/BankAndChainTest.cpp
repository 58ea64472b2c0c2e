// Page primitives: handing out and taking back pages through the bank table, chain table entries,
// page links, and walks that must end on any image.
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "support/ImageTestKit.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <climits>

namespace tolvane {
namespace {

using namespace layout;

class BankAndChainTest : public ::testing::Test {
protected:
    // A 128 KB module with every bank present and empty free maps, so each test sets the maps
    // it means.
    void SetUp() override {
        ImageBuilder builder(0x50);
        for (std::size_t offset = kBankTable; offset < kBankTable + 4 * kBankEntrySize; ++offset) {
            builder.Byte(offset, 0);
        }
        for (std::size_t bank = 0; bank < 4; ++bank) {
            builder.Byte(kBankTable + kBankEntrySize * bank, 0x80);
        }
        ASSERT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk);
    }

    std::span<uint8_t> Bank(int bank) {
        return image.GetSystemArea().subspan(kBankTable + kBankEntrySize * bank, kBankEntrySize);
    }

    ScriptedUserServices ui;
    MemoryModule image{ui};
};

// Blocks beyond the module are the hostile image tests' business, where a free map claims them.
TEST_F(BankAndChainTest, AllocationTakesTheFirstFreeBitOfAPresentBankAndCountsItOff) {
    Bank(0)[1] = 4;
    Bank(0)[4] = 0x07; // blocks 0 and 1 claimed free too: a damaged map; block 2 is page 0
    Bank(0)[7] = 0x01; // block 24, page 22
    Bank(1)[0] = 0x00; // not present, though its map has a free block
    Bank(1)[1] = 1;
    Bank(1)[4] = 0x01;
    Bank(2)[1] = 0; // present but counted full
    Bank(2)[4] = 0x01;
    Bank(3)[1] = 1;
    Bank(3)[5] = 0x02; // block 105
    image.GetPage(0)[100] = 0xEE;

    EXPECT_EQ(image.AllocatePage(), 0);
    EXPECT_EQ(Bank(0)[4], 0x03);
    EXPECT_EQ(Bank(0)[7], 0x01);
    EXPECT_EQ(Bank(0)[1], 3);
    EXPECT_EQ(image.GetPage(0)[100], 0) << "a page handed out must come zeroed";
    EXPECT_EQ(image.AllocatePage(), 22);
    EXPECT_EQ(Bank(0)[7], 0x00);
    EXPECT_EQ(Bank(0)[1], 2);
    EXPECT_EQ(image.AllocatePage(), 103);
    EXPECT_EQ(image.AllocatePage(), kNoPage);
}

TEST_F(BankAndChainTest, ReleaseMarksTheBlockFreeOnceAndZeroesThePage) {
    image.GetPage(40)[7] = 0x55;
    image.ReleasePage(40); // block 42: bank 1, map byte 1, bit 2
    EXPECT_EQ(Bank(1)[5], 0x04);
    EXPECT_EQ(Bank(1)[1], 1);
    EXPECT_EQ(image.GetPage(40)[7], 0);

    image.ReleasePage(40);
    EXPECT_EQ(Bank(1)[1], 1) << "a page released twice must not be counted free twice";

    Bank(2)[0] = 0x00;
    image.GetPage(70)[9] = 0x55;
    image.ReleasePage(70); // bank 2 not present: only the page is zeroed
    EXPECT_EQ(image.GetPage(70)[9], 0);
    EXPECT_EQ(Bank(2)[1], 0);
    EXPECT_EQ(Bank(2)[4] | Bank(2)[5] | Bank(2)[6] | Bank(2)[7], 0);

    image.ReleasePage(-1);
    image.ReleasePage(126);
    EXPECT_EQ(Bank(3)[1], 0);
}

TEST_F(BankAndChainTest, ChainEntriesLinksAndUnitAddressesHaveTheUnitsByteLayout) {
    image.SetChainStart(4, 0);
    auto system = image.GetSystemArea();
    EXPECT_EQ(Slice(system, 176, 3), (Bytes{0x80, 0x02, 0x01}));
    EXPECT_EQ(image.GetChainStart(4), 0);

    image.SetChainStart(14, 40); // block 42
    EXPECT_EQ(Slice(system, 216, 2), (Bytes{0x81, 10}));
    system[217] |= 0xE0; // stray high bits in the second byte do not count
    EXPECT_EQ(image.GetChainStart(14), 40);
    image.ClearChainEntry(14);
    EXPECT_EQ(Slice(system, 216, 3), Bytes(3, 0));
    EXPECT_EQ(image.GetChainStart(14), kNoPage);

    image.LinkPages(40, 100); // block 42 to block 102, and back
    EXPECT_EQ(Slice(image.GetPage(40), 0, 2), (Bytes{0x83, 6}));
    EXPECT_EQ(Slice(image.GetPage(100), 4, 2), (Bytes{1, 10}));
    EXPECT_EQ(image.GetNextPage(40), 100);
    image.ClearBackLink(100);
    image.EndChain(40);
    EXPECT_EQ(Slice(image.GetPage(100), 4, 2), Bytes(2, 0));
    EXPECT_EQ(image.GetNextPage(40), kNoPage);

    image.LinkPages(40, 126); // beyond the image: nothing happens
    EXPECT_EQ(image.GetNextPage(40), kNoPage);

    // The unit's bank and window address of a page offset.
    EXPECT_EQ(MemoryModule::GetUnitAddress(38, 64), (UnitAddress{1, 0xA040}));
    EXPECT_EQ(MemoryModule::GetUnitAddress(0, 16), (UnitAddress{0, 0x8810}));
    EXPECT_EQ(MemoryModule::GetUnitAddress(253, 1023), (UnitAddress{7, 0xFFFF}));
}

TEST_F(BankAndChainTest, WalksEndAtTheChainEndBeyondTheImageAndOnLoops) {
    image.SetChainStart(2, 10);
    image.LinkPages(10, 11);
    image.LinkPages(11, 12);
    ChainWalk walk = image.WalkChain(2, INT_MAX);
    EXPECT_EQ(walk.pages, (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(walk.end, WalkEnd::ChainEnd);
    EXPECT_EQ(image.WalkChain(2, 2).pages.size(), 2U);

    image.LinkPages(12, 11); // back to a page already walked
    walk = image.WalkChain(2, INT_MAX);
    EXPECT_EQ(walk.pages, (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(walk.end, WalkEnd::Loop);

    image.GetPage(12)[0] = 0x87; // block 7 * 32 + 31 = 255: no such page in 128 KB
    image.GetPage(12)[1] = 31;
    walk = image.WalkChain(2, INT_MAX);
    EXPECT_EQ(walk.pages.size(), 3U);
    EXPECT_EQ(walk.end, WalkEnd::BeyondImage);
    EXPECT_EQ(image.GetNextPage(12), kNoPage);

    image.GetSystemArea()[168] = 0x87; // the chain table itself names a page beyond the image
    EXPECT_EQ(image.GetChainStart(2), kNoPage);
    EXPECT_EQ(image.WalkChain(2, INT_MAX).end, WalkEnd::BeyondImage);
}

} // namespace
} // namespace tolvane
