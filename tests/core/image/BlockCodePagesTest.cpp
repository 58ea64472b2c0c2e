// Block code pages: one run of at most 8064 codes per page with its suspension map, splitting long
// ranges and joining adjacent runs again, the two kinds' chains, reusing and releasing pages,
// running out of pages, and chains with broken links.
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "support/ImageTestKit.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Ranges = std::vector<BlockRange>;
using Codes = std::vector<uint16_t>;

constexpr const char* kOutOfPages = "No more memory module pages available for block codes";
constexpr std::size_t kTransmitterEntry = 168; // chain 2
constexpr std::size_t kCardEntry = 184;        // chain 6
constexpr std::size_t kBank0 = 32;

// A run page as the unit lays it out, suspension map left empty.
void PutRun(std::span<uint8_t> page, uint16_t first, uint16_t last, uint8_t group) {
    const auto high = [](uint16_t code) { return static_cast<uint8_t>(code >> 8); };
    const auto low = [](uint16_t code) { return static_cast<uint8_t>(code); };
    const Bytes run{0xA0, high(first), low(first), high(last), low(last), group, 0, 1};
    page[3] = 2;
    std::copy(run.begin(), run.end(), page.begin() + 8);
}

BlockCodeList List(Ranges ranges, Codes suspended = {}) {
    BlockCodeList list;
    list.ranges = std::move(ranges);
    list.suspended = std::move(suspended);
    return list;
}

BlockCodeList Read(const MemoryModule& image, int kind) {
    BlockCodeList list = List({BlockRange(1, 2, 3)}, {1}); // whatever was there must go
    image.ReadBlockCodes(list, kind);
    return list;
}

TEST(BlockCodePagesTest, RunPagesHoldHeaderRunFieldsAndSuspensionBitsMostSignificantFirst) {
    ImageBuilder builder(0x70);
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    const Bytes fresh = image.GetBytes();
    image.WriteBlockCodes({}, kBlockCards); // no chain, and none is started for nothing
    EXPECT_EQ(image.GetBytes(), fresh);
    image.WriteBlockCodes(List({BlockRange(100, 200, 3)}, {100, 150, 201}), kBlockCards);

    const auto system = image.GetSystemArea();
    EXPECT_EQ(Slice(system, kCardEntry, 3), (Bytes{0x80, 0x02, 0x01}));
    const auto page = image.GetPage(0);
    EXPECT_EQ(Slice(page, 0, 8), (Bytes{0, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(page, 8, 8), (Bytes{0xA0, 0x00, 0x64, 0x00, 0xC8, 0x03, 0x00, 0x01}));
    // Code 100 is bit 0, code 150 bit 50; 201 lies outside the run and is dropped.
    Bytes map(1008, 0);
    map[0] = 0x80;
    map[6] = 0x20;
    EXPECT_EQ(Slice(page, 16, 1008), map);

    EXPECT_EQ(Read(image, kBlockCards), List({BlockRange(100, 200, 3)}, {100, 150}));

    // Transmitters go to their own chain and leave the cards alone; an unknown kind does nothing.
    image.WriteBlockCodes(List({BlockRange(5, 6, 1)}), kBlockTransmitters);
    EXPECT_EQ(Slice(system, kTransmitterEntry, 3), (Bytes{0x80, 0x03, 0x01}));
    EXPECT_EQ(Read(image, kBlockTransmitters), List({BlockRange(5, 6, 1)}));
    EXPECT_EQ(Read(image, kBlockCards), List({BlockRange(100, 200, 3)}, {100, 150}));
    const Bytes before = image.GetBytes();
    image.WriteBlockCodes(List({BlockRange(7, 8, 1)}), 3);
    EXPECT_EQ(image.GetBytes(), before);

    // A range longer than a page maps is split into runs of 8064 codes on pages linked both ways;
    // the cards take page 2 (block 4) as their second page.
    image.WriteBlockCodes(List({BlockRange(1, 10000, 2)}, {8064, 8065}), kBlockCards);
    EXPECT_EQ(image.GetChainPageCount(kBlockCardChain), 2);
    const auto first = image.GetPage(0);
    const auto second = image.GetPage(2);
    EXPECT_EQ(Slice(first, 0, 2), (Bytes{0x80, 0x04}));
    EXPECT_EQ(Slice(first, 8, 8), (Bytes{0xA0, 0x00, 0x01, 0x1F, 0x80, 0x02, 0x00, 0x01}));
    EXPECT_EQ(first[1023], 0x01); // code 8064 is the last bit of the first run
    EXPECT_EQ(Slice(second, 0, 6), (Bytes{0, 0, 0, 2, 0x00, 0x02}));
    EXPECT_EQ(Slice(second, 8, 8), (Bytes{0xA0, 0x1F, 0x81, 0x27, 0x10, 0x02, 0x00, 0x01}));
    EXPECT_EQ(second[16], 0x80);
    EXPECT_EQ(Read(image, kBlockCards), List({BlockRange(1, 10000, 2)}, {8064, 8065}));

    image.WriteBlockCodes(List({BlockRange(1, 8064, 2)}), kBlockCards);
    EXPECT_EQ(image.GetChainPageCount(kBlockCardChain), 1);

    image.WriteBlockCodes(List({BlockRange(0, 65535, 1)}), kBlockCards);
    EXPECT_EQ(image.GetChainPageCount(kBlockCardChain), 9);
    const ChainWalk walk = image.WalkChain(kBlockCardChain, 100);
    ASSERT_EQ(walk.pages.size(), 9u);
    EXPECT_EQ(Slice(image.GetPage(walk.pages.back()), 9, 4), (Bytes{0xFC, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(Read(image, kBlockCards), List({BlockRange(0, 65535, 1)}));
}

TEST(BlockCodePagesTest, ReadingJoinsAdjacentRunsOfOneGroupWithoutWrappingAround) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddChain(kBlockTransmitterChain, 11);
    builder.Byte(kTransmitterEntry + 2, 10); // the eleventh page is linked but not counted
    PutRun(builder.Page(chain[0]), 10, 19, 4);
    builder.Page(chain[0])[16] = 0x80; // code 10
    builder.Page(chain[0])[17] = 0x60; // code 19, and a bit past the run's end
    PutRun(builder.Page(chain[1]), 20, 29, 4);
    PutRun(builder.Page(chain[2]), 40, 49, 5);
    PutRun(builder.Page(chain[3]), 30, 39, 5);
    PutRun(builder.Page(chain[4]), 50, 59, 1);
    PutRun(builder.Page(chain[5]), 0, 10, 7);
    PutRun(builder.Page(chain[6]), 65000, 65535, 7);
    PutRun(builder.Page(chain[7]), 65530, 65535, 8);
    PutRun(builder.Page(chain[8]), 0, 3, 8);
    PutRun(builder.Page(chain[9]), 30, 20, 4); // reversed: adds nothing, reads no bits
    std::fill_n(builder.Page(chain[9]).begin() + 16, 4, 0xFF);
    PutRun(builder.Page(chain[10]), 60, 69, 1);
    LoadedImage loaded(builder);

    const Ranges expected{BlockRange(10, 29, 4),       BlockRange(30, 49, 5),
                          BlockRange(50, 59, 1),       BlockRange(0, 10, 7),
                          BlockRange(65000, 65535, 7), BlockRange(65530, 65535, 8),
                          BlockRange(0, 3, 8)};
    EXPECT_EQ(Read(loaded.image, kBlockTransmitters), List(expected, {10, 19}));

    // A run claiming more codes than a page maps reads only the bits the page has.
    ImageBuilder wide(0x70);
    const auto widePages = wide.AddChain(kBlockCardChain, 1);
    PutRun(wide.Page(widePages[0]), 0, 65535, 9);
    std::fill(wide.Page(widePages[0]).begin() + 16, wide.Page(widePages[0]).end(), 0xFF);
    LoadedImage loadedWide(wide);
    const BlockCodeList list = Read(loadedWide.image, kBlockCards);
    EXPECT_EQ(list.ranges, Ranges{BlockRange(0, 65535, 9)});
    ASSERT_EQ(list.suspended.size(), 8064u);
    EXPECT_EQ(list.suspended.back(), 8063);
}

TEST(BlockCodePagesTest, RewriteReusesChainPagesInOrderAndReleasesTheRest) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddChain(kBlockCardChain, 4); // pages 0 to 3
    builder.AddChain(kEntryCodeChain, 1);                    // page 4
    builder.Page(chain[1])[500] = 0xFF;                      // stale suspension bits
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;

    image.WriteBlockCodes(List({BlockRange(1, 10000, 2)}), kBlockCards);
    EXPECT_EQ(image.WalkChain(kBlockCardChain, 100).pages, (std::vector<int>{0, 1}));
    EXPECT_EQ(image.GetChainPageCount(kBlockCardChain), 2);
    EXPECT_TRUE(AllZero(image.GetPage(1).subspan(16)));
    EXPECT_TRUE(AllZero(image.GetPage(2)));
    EXPECT_TRUE(AllZero(image.GetPage(3)));
    const auto system = image.GetSystemArea();
    EXPECT_EQ(system[kBank0 + 1], 11);
    EXPECT_EQ(system[kBank0 + 4], 0xB0); // blocks 4 and 5 free again

    // An empty list keeps the first page, all zero and counted as none, and releases the rest;
    // the next write starts the chain afresh from there.
    image.WriteBlockCodes({}, kBlockCards);
    EXPECT_EQ(image.WalkChain(kBlockCardChain, 100).pages, std::vector<int>{0});
    EXPECT_EQ(image.GetChainPageCount(kBlockCardChain), 0);
    EXPECT_TRUE(AllZero(image.GetPage(0)));
    EXPECT_EQ(image.GetFreePageCount(), 12);
    EXPECT_EQ(Read(image, kBlockCards), BlockCodeList{});
    image.WriteBlockCodes(List({BlockRange(1, 5, 1)}), kBlockCards);
    EXPECT_EQ(image.GetChainPageCount(kBlockCardChain), 1);
    EXPECT_EQ(image.GetFreePageCount(), 12);
    EXPECT_EQ(Read(image, kBlockCards), List({BlockRange(1, 5, 1)}));
}

TEST(BlockCodePagesTest, RunningOutOfPagesCountsOnlyPagesWrittenAndWarnsForEachRange) {
    ImageBuilder builder(0x70);
    for (int i = 0; i < 11; ++i) {
        builder.TakePage(); // pages 11 to 13 stay free
    }
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    image.WriteBlockCodes(List({BlockRange(0, 65535, 1), BlockRange(100, 200, 2)}),
                          kBlockTransmitters);

    EXPECT_EQ(loaded.ui.Texts(), (std::vector<std::string>{kOutOfPages, kOutOfPages}));
    EXPECT_EQ(loaded.ui.Shown()[0].icon, MessageIcon::Exclamation);
    const ChainWalk walk = image.WalkChain(kBlockTransmitterChain, 100);
    EXPECT_EQ(walk.pages, (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(walk.end, WalkEnd::ChainEnd);
    EXPECT_EQ(image.GetChainPageCount(kBlockTransmitterChain), 3);
    EXPECT_EQ(Read(image, kBlockTransmitters), List({BlockRange(0, 3 * 8064 - 1, 1)}));

    // With no page left at all, the cards' chain is not started and the image stays as it was.
    loaded.ui.Forget();
    const Bytes before = image.GetBytes();
    image.WriteBlockCodes(List({BlockRange(1, 5, 1)}), kBlockCards);
    EXPECT_EQ(loaded.ui.Texts(), std::vector<std::string>{kOutOfPages});
    EXPECT_EQ(image.GetBytes(), before);
}

// The second page links back to the first. Looping and beyond-image links of every chain kind
// are the hostile image tests' business; this is the one case here.
TEST(BlockCodePagesTest, ALoopingChainEndsTheWalkWhenReadingAndWriting) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddChain(kBlockTransmitterChain, 2); // pages 0, 1
    builder.Byte(kTransmitterEntry + 2, 9);
    PutRun(builder.Page(chain[0]), 1, 5, 1);
    PutRun(builder.Page(chain[1]), 100, 105, 1);
    builder.Page(chain[1])[0] = 0x80;
    builder.Page(chain[1])[1] = 0x02;
    LoadedImage loaded(builder);
    EXPECT_EQ(Read(loaded.image, kBlockTransmitters),
              List({BlockRange(1, 5, 1), BlockRange(100, 105, 1)}));

    const BlockCodeList list =
        List({BlockRange(1, 5, 1), BlockRange(10, 15, 2), BlockRange(20, 25, 3)});
    loaded.image.WriteBlockCodes(list, kBlockTransmitters);
    const ChainWalk walk = loaded.image.WalkChain(kBlockTransmitterChain, 100);
    EXPECT_EQ(walk.pages, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(walk.end, WalkEnd::ChainEnd);
    EXPECT_EQ(Read(loaded.image, kBlockTransmitters), list);

    LoadedImage emptied(builder); // releasing the whole chain ends as well
    emptied.image.WriteBlockCodes({}, kBlockTransmitters);
    EXPECT_EQ(emptied.image.GetFreePageCount(), 13);
}

} // namespace
} // namespace tolvane
