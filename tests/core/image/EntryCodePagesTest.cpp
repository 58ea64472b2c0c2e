// Entry code pages: the 8-byte record in the unit's nibble order, filling pages of 127 slots,
// reusing and releasing chain pages, running out of pages, and chains with broken links.
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

constexpr const char* kOutOfPages = "No more memory module pages available for entry codes";
constexpr std::size_t kChainEntry = 176; // chain 4: link, then the page count byte
constexpr std::size_t kBank0 = 32;       // free count at +1, free map at +4

void PutRecord(std::span<uint8_t> page, int slot, const Bytes& record) {
    std::copy(record.begin(), record.end(), page.begin() + 8 + 8 * slot);
}

EntryCode Code(const std::string& digits, uint16_t group, bool active) {
    EntryCode code;
    code.digitCount = static_cast<uint8_t>(digits.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        code.digits[i] = static_cast<uint8_t>(digits[i] - '0');
    }
    code.validationGroup = group;
    code.active = active ? 1 : 0;
    return code;
}

EntryCodeArray ManyCodes(int count) {
    EntryCodeArray codes;
    for (int i = 0; i < count; ++i) {
        codes.push_back(Code(std::to_string(10000 + i), static_cast<uint16_t>(i % 16), i % 3 != 0));
    }
    return codes;
}

EntryCodeArray Read(const MemoryModule& image) {
    EntryCodeArray codes{Code("99", 1, true)}; // whatever was there must go
    image.ReadEntryCodes(codes);
    return codes;
}

TEST(EntryCodePagesTest, RecordsAreWrittenLastDigitFirstAndFillPagesOf127) {
    ImageBuilder builder(0x70);
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    const Bytes fresh = image.GetBytes();
    image.WriteEntryCodes({}); // no chain, and none is started for nothing
    EXPECT_EQ(image.GetBytes(), fresh);
    image.WriteEntryCodes({Code("1234", 5, true), Code("90817263", 15, false), Code("7", 0, true)});

    const auto system = image.GetSystemArea();
    EXPECT_EQ(Slice(system, kChainEntry, 3), (Bytes{0x80, 0x02, 0x01}));

    const auto page = image.GetPage(0);
    EXPECT_EQ(Slice(page, 0, 8), (Bytes{0, 0, 124, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(page, 8, 8), (Bytes{0xC4, 0x43, 0x21, 0x00, 0x00, 0x05, 0x00, 0x00}));
    EXPECT_EQ(Slice(page, 16, 8), (Bytes{0x88, 0x36, 0x27, 0x18, 0x09, 0x0F, 0x00, 0x00}));
    EXPECT_EQ(Slice(page, 24, 8), (Bytes{0xC1, 0x70, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(AllZero(page.subspan(32)));
    EXPECT_TRUE(loaded.ui.Shown().empty());

    // A full page ends at zero free slots; the next code opens a linked page.
    auto codes = ManyCodes(127);
    image.WriteEntryCodes(codes);
    EXPECT_EQ(Slice(page, 0, 3), (Bytes{0, 0, 0}));
    EXPECT_EQ(image.GetChainPageCount(kEntryCodeChain), 1);
    EXPECT_EQ(Read(image), codes);
    codes.push_back(Code("1234", 5, true));
    image.WriteEntryCodes(codes);
    EXPECT_EQ(image.GetChainPageCount(kEntryCodeChain), 2);
    const auto second = image.GetPage(1);
    EXPECT_EQ(Slice(page, 0, 3), (Bytes{0x80, 0x03, 3})); // linked to block 3, left for next
    EXPECT_EQ(Slice(second, 0, 6), (Bytes{0, 0, 126, 0, 0x00, 0x02}));
    EXPECT_EQ(Slice(second, 8, 8), (Bytes{0xC4, 0x43, 0x21, 0x00, 0x00, 0x05, 0x00, 0x00}));
    EXPECT_EQ(Read(image), codes);
}

TEST(EntryCodePagesTest, ReadingDecodesHandBuiltRecordsUpToTheChainPageCount) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddChain(kEntryCodeChain, 3);
    builder.Byte(kChainEntry + 2, 2); // the third page is linked but not counted
    PutRecord(builder.Page(chain[0]), 0, {0xC4, 0x43, 0x21, 0x00, 0x00, 0x05, 0x00, 0x00});
    PutRecord(builder.Page(chain[0]), 1, {0x44, 0x43, 0x21, 0x00, 0x00, 0x05, 0x00, 0x00});
    // Bits 4-5 of byte 0 and 4-7 of byte 5 carry nothing.
    PutRecord(builder.Page(chain[0]), 126, {0xB2, 0x98, 0x00, 0x00, 0x00, 0xF3, 0x00, 0x00});
    // The unit may claim more digits than the record holds: the eight there are taken.
    PutRecord(builder.Page(chain[1]), 3, {0x8C, 0x87, 0x65, 0x43, 0x21, 0x02, 0x00, 0x00});
    PutRecord(builder.Page(chain[2]), 0, {0xC1, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
    LoadedImage loaded(builder);

    EXPECT_EQ(Read(loaded.image), (EntryCodeArray{Code("1234", 5, true), Code("89", 3, false),
                                                  Code("12345678", 2, false)}));
}

TEST(EntryCodePagesTest, RewriteReusesChainPagesInOrderAndReleasesTheRest) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddChain(kEntryCodeChain, 3); // pages 0, 1, 2
    builder.AddChain(kBlockCardChain, 1);                    // page 3
    builder.Page(chain[0])[4] = 0x55;                        // stale back link
    PutRecord(builder.Page(chain[1]), 126, {0xC1, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
    PutRecord(builder.Page(chain[2]), 0, {0xC1, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;

    const auto codes = ManyCodes(200);
    image.WriteEntryCodes(codes);

    // A fresh page would have been page 4, the lowest free one.
    EXPECT_EQ(image.WalkChain(kEntryCodeChain, 100).pages, (std::vector<int>{0, 1}));
    EXPECT_EQ(image.GetChainPageCount(kEntryCodeChain), 2);
    EXPECT_EQ(Slice(image.GetPage(0), 4, 2), (Bytes{0, 0}));
    EXPECT_EQ(image.GetPage(1)[2], 127 - 73);
    EXPECT_TRUE(AllZero(image.GetPage(1).subspan(8 + 8 * 73)));
    EXPECT_TRUE(AllZero(image.GetPage(2)));
    const auto system = image.GetSystemArea();
    EXPECT_EQ(system[kBank0 + 1], 11);
    EXPECT_EQ(system[kBank0 + 4], 0xD0); // block 4 free again, blocks 2, 3 and 5 in use
    EXPECT_EQ(Read(image), codes);

    // Shrinking clears what the first page held beyond the new codes.
    image.WriteEntryCodes(ManyCodes(3));
    EXPECT_EQ(image.WalkChain(kEntryCodeChain, 100).pages, std::vector<int>{0});
    EXPECT_TRUE(AllZero(image.GetPage(0).subspan(8 + 8 * 3)));
    EXPECT_EQ(image.GetFreePageCount(), 12);

    // An empty list keeps one empty page of 127 free slots.
    image.WriteEntryCodes({});
    EXPECT_EQ(image.WalkChain(kEntryCodeChain, 100).pages, std::vector<int>{0});
    EXPECT_EQ(image.GetChainPageCount(kEntryCodeChain), 1);
    EXPECT_EQ(Slice(image.GetPage(0), 0, 8), (Bytes{0, 0, 127, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(AllZero(image.GetPage(0).subspan(8)));
    EXPECT_EQ(image.GetFreePageCount(), 12);
    EXPECT_TRUE(Read(image).empty());
}

TEST(EntryCodePagesTest, RunningOutOfPagesKeepsTheFullPagesAndWarnsOnce) {
    ImageBuilder builder(0x70);
    for (int i = 0; i < 14; ++i) {
        builder.TakePage();
    }
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    // With no page at all the chain is not started and the image stays as it was.
    const Bytes before = image.GetBytes();
    image.WriteEntryCodes(ManyCodes(1));
    EXPECT_EQ(loaded.ui.Texts(), std::vector<std::string>{kOutOfPages});
    EXPECT_EQ(image.GetBytes(), before);

    // With two pages, 254 of 300 codes fit.
    loaded.ui.Forget();
    image.ReleasePage(12);
    image.ReleasePage(13);
    const auto codes = ManyCodes(300);
    image.WriteEntryCodes(codes);
    EXPECT_EQ(loaded.ui.Texts(), std::vector<std::string>{kOutOfPages});
    EXPECT_EQ(loaded.ui.Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(image.WalkChain(kEntryCodeChain, 100).pages, (std::vector<int>{12, 13}));
    EXPECT_EQ(image.GetChainPageCount(kEntryCodeChain), 2);
    EXPECT_EQ(image.GetPage(12)[2], 3); // left for the next page
    // The last page written is full and nothing follows it: no free slot, not "left for next".
    EXPECT_EQ(Slice(image.GetPage(13), 0, 3), (Bytes{0, 0, 0}));
    EXPECT_EQ(image.GetFreePageCount(), 0);
    EXPECT_EQ(Read(image), EntryCodeArray(codes.begin(), codes.begin() + 254));
}

// The second page links back to the first. Looping and beyond-image links of every chain kind
// are the hostile image tests' business; this is the one case here.
TEST(EntryCodePagesTest, ALoopingChainEndsTheWalkWhenReadingAndWriting) {
    const Bytes record{0xC1, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00};
    ImageBuilder builder(0x70);
    const auto chain = builder.AddChain(kEntryCodeChain, 2); // pages 0, 1
    builder.Byte(kChainEntry + 2, 5);
    builder.Page(chain[1])[0] = 0x80;
    builder.Page(chain[1])[1] = 0x02;
    PutRecord(builder.Page(chain[0]), 0, record);
    PutRecord(builder.Page(chain[1]), 0, record);
    LoadedImage loaded(builder);
    EXPECT_EQ(Read(loaded.image).size(), 2u);

    const auto codes = ManyCodes(400);
    loaded.image.WriteEntryCodes(codes);
    const ChainWalk walk = loaded.image.WalkChain(kEntryCodeChain, 100);
    EXPECT_EQ(walk.pages, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(walk.end, WalkEnd::ChainEnd);
    EXPECT_EQ(loaded.image.GetChainPageCount(kEntryCodeChain), 4);
    EXPECT_EQ(Read(loaded.image), codes);

    LoadedImage emptied(builder); // releasing the whole chain ends as well
    emptied.image.WriteEntryCodes({});
    EXPECT_EQ(emptied.image.GetFreePageCount(), 13);
}

} // namespace
} // namespace tolvane
