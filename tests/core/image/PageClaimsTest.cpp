// Pages with two owners, found on hand-built images: chain entries and links that lead into
// another chain, and chains walking pages that the free map calls free; and the lines that say so.
// A chain entry that names another chain's first page is the command-line check's test.
#include "image/PageClaims.h"
#include "support/ImageTestKit.h"

#include <gtest/gtest.h>

#include <functional>

namespace tolvane {
namespace {

using namespace layout;

void Link(std::span<uint8_t> bytes, std::size_t offset, int page) {
    const int block = page + kSystemBlocks;
    bytes[offset] = static_cast<uint8_t>(0x80 | (block / 32));
    bytes[offset + 1] = static_cast<uint8_t>(block % 32);
}

void MarkFree(ImageBuilder& builder, int page) {
    const int block = page + kSystemBlocks;
    builder.SystemArea()[kBankTable + 4 + static_cast<std::size_t>(block / 8)] |=
        static_cast<uint8_t>(1 << (block % 8));
}

// A 16 KB module: chain 2 on pages 0-2, chain 4 on 3-4, chain 6 on 5-6, the log on 7-8.
TEST(PageClaimsTest, FindsEveryPageWithTwoOwnersAndSaysWhichInOneLinePerOwners) {
    struct Case {
        const char* damage;
        std::function<void(ImageBuilder&)> apply;
        std::vector<SharedPage> shared;
        std::vector<std::string> lines;
    };
    const auto chainEntry = [](int chain) { return kChainTable + kChainEntrySize * chain; };
    const Case cases[] = {
        {"a loop, a link beyond the image and free bits in a bank that is not present",
         [&](ImageBuilder& b) {
             Link(b.Page(2), kPageForwardLink, 0);
             b.Byte(chainEntry(6), 0x87);
             MarkFree(b, 1);
             b.Byte(kBankTable, 0);
         },
         {},
         {}},
        {"chain 2's last page links past its count into chain 4, and chain 6's entry names it too",
         [&](ImageBuilder& b) {
             Link(b.Page(2), kPageForwardLink, 4);
             Link(b.SystemArea(), chainEntry(6), 4);
         },
         {{4, {2, 4, 6}, false}},
         {"page 4 is claimed by chains 2, 4 and 6"}},
        {"free bits for pages of chains 2 and 15",
         [](ImageBuilder& b) {
             for (const int page : {1, 7, 8}) {
                 MarkFree(b, page);
             }
         },
         {{1, {2}, true}, {7, {15}, true}, {8, {15}, true}},
         {"page 1 of chain 2 is marked free", "pages 7 and 8 of chain 15 are marked free"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        ImageBuilder builder(0x70);
        builder.AddChain(kBlockTransmitterChain, 3);
        builder.AddChain(kEntryCodeChain, 2);
        builder.AddChain(kBlockCardChain, 2);
        builder.AddChain(kEventLogChain, 2);
        c.apply(builder);
        const LoadedImage loaded(builder);
        const std::vector<SharedPage> shared = FindSharedPages(loaded.image);
        EXPECT_EQ(shared, c.shared);
        EXPECT_EQ(DescribeSharedPages(shared), c.lines);
    }
}

} // namespace
} // namespace tolvane
