// Damaged and hostile images: chains that loop or leave the image, chain entries beyond it,
// impossible directory capacities and digit counts, free maps that claim blocks the module does
// not have, and truncated files; random damage is the image fuzz target's, run with the tests.
// Nothing may crash, every walk must end, every list read must make sense, and packing must leave
// chains that a walk can follow.
#include "DemoImage.h"
#include "ImageBuilder.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <tuple>

    namespace tolvane {
    namespace {

    using namespace layout;

    constexpr int kUnusedDemoPage = 120; // free and all zero in the demo
    constexpr int kKnownChains[] = {kSingleTransmitterChain, kBlockTransmitterChain,
                                    kEntryCodeChain,         kBlockCardChain,
                                    kDirectoryChain,         kEventLogChain};

    // The demo image, loaded once, with the lists it unpacks into.
    struct DemoImage {
        ScriptedUserServices ui;
        std::vector<uint8_t> bytes = BuildDemoImage(ui);
        MemoryModule image{ui};
        UnitConfiguration lists;
        DemoImage() {
            image.LoadBytes(bytes);
            image.Unpack(lists);
        }
        std::vector<int> Chain(int chain) const { return image.WalkChain(chain, INT_MAX).pages; }
    };

    DemoImage& Demo() {
        static DemoImage demo;
        return demo;
    }

    std::size_t PageStart(int page) {
        return kSystemAreaSize + kPageSize * static_cast<std::size_t>(page);
    }

    std::size_t ChainEntry(int chain) {
        return kChainTable + kChainEntrySize * static_cast<std::size_t>(chain);
    }

    void SetForwardLink(std::vector<uint8_t>& bytes, int page, int block) {
        bytes[PageStart(page)] = static_cast<uint8_t>(0x80 | ((block / 32) & 7));
        bytes[PageStart(page) + 1] = static_cast<uint8_t>(block % 32);
    }

    void ExpectWalksEnd(const MemoryModule& image) {
        for (int chain = 0; chain < kChainCount; ++chain) {
            for (const int page : image.WalkChain(chain, INT_MAX).pages) {
                EXPECT_TRUE(image.IsPage(page)) << "chain " << chain << " page " << page;
            }
        }
    }

    void ExpectInRange(const UnitConfiguration& unit, const MemoryModule& image) {
        for (const EntryCode& code : unit.entryCodes) {
            EXPECT_LE(code.digitCount, EntryCode::kMaxDigits);
            EXPECT_LE(code.validationGroup, 15);
        }
        for (const BlockCodeList* list : {&unit.blockCards, &unit.blockTransmitters}) {
            for (const uint16_t code : list->suspended) {
                EXPECT_TRUE(std::any_of(
                    list->ranges.begin(), list->ranges.end(),
                    [&](auto& range) { return range.First() <= code && code <= range.Last(); }))
                    << "suspended code " << code << " outside every range";
            }
        }
        EXPECT_LE(unit.directory.Count(), image.GetDirectoryCapacity());
        for (std::size_t i = 0; i < unit.directory.Count(); ++i) {
            EXPECT_LE(unit.directory.At(i).name.size(), 24u);
            EXPECT_LE(unit.directory.At(i).digitCount, DirectoryEntry::kMaxDigits);
        }
    }

    // Unpacks, packs (the given lists, or what was unpacked) and unpacks again, checking on the way
    // what holds for any image whatever its bytes; gives what the last unpacking read.
    UnitConfiguration Exercise(MemoryModule& image, const UnitConfiguration* lists = nullptr) {
        ExpectWalksEnd(image);
        UnitConfiguration unit;
        image.Unpack(unit);
        ExpectInRange(unit, image);
        image.Pack(lists != nullptr ? *lists : unit);
        ExpectWalksEnd(image);
        UnitConfiguration again;
        image.Unpack(again);
        ExpectInRange(again, image);
        const std::size_t saved = image.GetBytes().size();
        EXPECT_GE(saved, kSystemAreaSize);
        EXPECT_EQ((saved - kSystemAreaSize) % kPageSize, 0u);
        EXPECT_LE(saved, PageStart(std::min(image.GetPageCount(), image.GetLoadedPageCount())));
        return again;
    }

    // After packing, each code chain ends where its last page says and no page serves two chains.
    // An empty block code chain keeps one zero page with a page count of 0.
    void ExpectCodeChainsSound(const MemoryModule& image) {
        std::set<int> taken;
        for (const int chain : {kBlockTransmitterChain, kEntryCodeChain, kBlockCardChain}) {
            const ChainWalk walk = image.WalkChain(chain, INT_MAX);
            EXPECT_EQ(walk.end, WalkEnd::ChainEnd) << "chain " << chain;
            if (!walk.pages.empty()) {
                EXPECT_EQ(walk.pages.size(),
                          std::max<std::size_t>(image.GetChainPageCount(chain), 1u))
                    << "chain " << chain;
            }
            for (const int page : walk.pages) {
                EXPECT_TRUE(taken.insert(page).second) << "page " << page << " in two chains";
            }
        }
    }

    // Takes every page the bank table offers; each must be a page the image holds, and none twice.
    std::vector<int> AllocateAll(MemoryModule& image) {
        std::vector<int> pages;
        constexpr std::size_t kLimit = kMaxBanks * kBlocksPerBank;
        for (int page = image.AllocatePage(); page != kNoPage && pages.size() <= kLimit;
             page = image.AllocatePage()) {
            EXPECT_TRUE(image.IsPage(page)) << page;
            EXPECT_EQ(std::count(pages.begin(), pages.end(), page), 0) << page;
            pages.push_back(page);
        }
        EXPECT_LE(pages.size(), kLimit) << "AllocatePage never runs out";
        return pages;
    }

    // Each known chain damaged six ways: its last page linked to itself, or through a free page
    // back to its first; its chain entry naming block 255, or 200 (0x28 carries stray bits that the
    // chain table ignores); its first page linked to block 232, or to 479 through a second link
    // byte beyond
    // 31. All of these lie beyond the 128 blocks of the demo. The demo's lists packed into the
    // image then rebuild any code chain lost this way.
    TEST(HostileImageTest, ChainsOfEveryKindThatLoopOrLeaveTheImage) {
        for (const int chain : kKnownChains) {
            const std::vector<int> pages = Demo().Chain(chain);
            ASSERT_FALSE(pages.empty()) << chain;
            const std::size_t walked[] = {pages.size(), pages.size() + 1, 0, 0, 1, 1};
            for (int variant = 0; variant < 6; ++variant) {
                SCOPED_TRACE(::testing::Message() << "chain " << chain << ", variant " << variant);
                std::vector<uint8_t> bytes = Demo().bytes;
                bytes[ChainEntry(chain) + 2] = variant == 2 || variant == 3 ? 3 : 255;
                if (variant == 0) {
                    SetForwardLink(bytes, pages.back(), pages.back() + kSystemBlocks);
                } else if (variant == 1) {
                    SetForwardLink(bytes, pages.back(), kUnusedDemoPage + kSystemBlocks);
                    SetForwardLink(bytes, kUnusedDemoPage, pages.front() + kSystemBlocks);
                } else {
                    const std::size_t link = variant < 4 ? ChainEntry(chain) : PageStart(pages[0]);
                    bytes[link] = variant == 3 ? 0x86 : 0x87;
                    bytes[link + 1] = variant == 3 ? 0x28 : (variant == 4 ? 0x08 : 0xFF);
                }
                ScriptedUserServices ui;
                MemoryModule image(ui);
                ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
                const ChainWalk walk = image.WalkChain(chain, INT_MAX);
                EXPECT_EQ(walk.end, variant < 2 ? WalkEnd::Loop : WalkEnd::BeyondImage);
                EXPECT_EQ(walk.pages.size(), walked[variant]);
                const UnitConfiguration reread = Exercise(image, &Demo().lists);
                ExpectCodeChainsSound(image);
                EXPECT_EQ(reread.entryCodes, Demo().lists.entryCodes);
                EXPECT_EQ(reread.blockCards, Demo().lists.blockCards);
                EXPECT_EQ(reread.blockTransmitters, Demo().lists.blockTransmitters);
                EXPECT_TRUE(ui.Shown().empty());
            }
        }
    }

    TEST(HostileImageTest, DirectoryNeverWritesBeyondItsCountedPages) {
        const std::vector<int> chain =
            Demo().Chain(kDirectoryChain); // three record pages, a name page
        ASSERT_EQ(chain.size(), 4u);
        // Slot 0 is the header, so one counted page holds 20 of the demo's 25 tenants.
        const std::tuple<uint16_t, uint8_t, std::size_t> cases[] = {
            {65535, 4, 25}, {65535, 2, 20}, {65535, 1, 0}, {65535, 0, 0}, {1, 4, 0}};
        for (const auto& [capacity, pageCount, entries] : cases) {
            SCOPED_TRACE(::testing::Message() << capacity << " slots, page count " << +pageCount);
            std::vector<uint8_t> bytes = Demo().bytes;
            bytes[kDirectoryCapacity] = static_cast<uint8_t>(capacity >> 8);
            bytes[kDirectoryCapacity + 1] = static_cast<uint8_t>(capacity & 0xFF);
            bytes[ChainEntry(kDirectoryChain) + 2] = pageCount;
            ScriptedUserServices ui;
            MemoryModule image(ui);
            ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
            UnitConfiguration unit;
            image.Unpack(unit);
            EXPECT_EQ(unit.directory.Count(), entries);
            image.Pack(unit);
            for (std::size_t i = std::max(pageCount, uint8_t{1}) - 1u; i < chain.size(); ++i) {
                const auto page = image.GetPage(chain[i]);
                EXPECT_TRUE(
                    std::equal(page.begin(), page.end(), bytes.begin() + PageStart(chain[i])))
                    << "page " << chain[i] << " was written";
            }
            image.Unpack(unit);
            EXPECT_EQ(unit.directory.Count(), entries);
        }
    }

    // Digit counts of 15, 15 and 9 (with stray bits) read as 8 and are written back as 8.
    TEST(HostileImageTest, EntryCodeDigitCountsAboveEightAreCut) {
        const std::size_t records = PageStart(Demo().Chain(kEntryCodeChain).front()) + 8;
        std::vector<uint8_t> bytes = Demo().bytes;
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(records), 24, 0xFF);
        bytes[records] = 0x8F;
        bytes[records + 8] = 0xCF;
        bytes[records + 16] = 0xB9;
        ScriptedUserServices ui;
        MemoryModule image(ui);
        ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
        UnitConfiguration unit;
        image.Unpack(unit);
        ASSERT_EQ(unit.entryCodes.size(), Demo().lists.entryCodes.size());
        image.Pack(unit);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(unit.entryCodes[i].digitCount, 8);
            EXPECT_EQ(unit.entryCodes[i].validationGroup, 15);
            EXPECT_EQ(image.GetBytes()[records + 8 * i] & 0x3F, 8) << "slot " << i;
        }
    }

    TEST(HostileImageTest, FreeMapsNeverHandOutPagesTheImageDoesNotHold) {
        // A 16 KB module whose bank table calls every block of all eight banks free, 255 of them in
        // each: only its 14 pages may come out, blocks 0 and 1 never.
        ImageBuilder small(0x70);
        for (std::size_t entry = kBankTable; entry < kBankTable + kMaxBanks * kBankEntrySize;
             entry += kBankEntrySize) {
            small.Byte(entry, 0x80).Byte(entry + 1, 255);
            std::fill_n(small.SystemArea().begin() + static_cast<std::ptrdiff_t>(entry) + 4, 4,
                        0xFF);
        }
        const std::vector<uint8_t> full = small.Bytes();
        ScriptedUserServices ui;
        MemoryModule image(ui);
        ASSERT_EQ(image.LoadBytes(full), kLoadOk);
        EXPECT_EQ(AllocateAll(image),
                  (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

        // Cut short, the same module offers only the pages that were read.
        ASSERT_EQ(image.LoadBytes(std::span(full).first(PageStart(5) + 100)), kLoadInvalid);
        EXPECT_EQ(AllocateAll(image).size(), 6u);

        // A count of 255 over an empty map offers nothing.
        std::vector<uint8_t> empty = full;
        std::fill_n(empty.begin() + kBankTable + 4, 4, 0);
        ASSERT_EQ(image.LoadBytes(empty), kLoadOk);
        EXPECT_EQ(image.AllocatePage(), kNoPage);
    }

    // Stale bytes that point a code chain's packing at pages not its own: a free map that calls the
    // chain's first page free (when the chain grows, the page already written must not come back as
    // the new one, or its codes are wiped without a word), or a forward link from its last page
    // into the directory (releasing the leftovers must not take the directory's pages with it).
    TEST(HostileImageTest, PackingNeverTakesOrReleasesPagesThatAreNotTheChains) {
        const std::vector<int> directory = Demo().Chain(kDirectoryChain);
        for (const int chain : {kEntryCodeChain, kBlockCardChain, kBlockTransmitterChain}) {
            for (const bool staleLink : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << "chain " << chain << ", stale link " << staleLink);
                std::vector<uint8_t> bytes = Demo().bytes;
                UnitConfiguration unit = Demo().lists;
                if (staleLink) {
                    SetForwardLink(bytes, Demo().Chain(chain).back(),
                                   directory.front() + kSystemBlocks);
                } else {
                    const int block = Demo().Chain(chain).front() + kSystemBlocks;
                    bytes[kBankTable + kBankEntrySize * static_cast<std::size_t>(block / 32) + 4 +
                          static_cast<std::size_t>(block % 32 / 8)] |=
                        static_cast<uint8_t>(1 << (block % 8));
                    // Only the chain under test grows, so no other chain allocates.
                    if (chain == kEntryCodeChain) {
                        unit.entryCodes.resize(unit.entryCodes.size() + 150, {3, {1, 2, 3}, 2, 1});
                    } else {
                        (chain == kBlockCardChain ? unit.blockCards : unit.blockTransmitters)
                            .ranges.emplace_back(50000, 50010, 7);
                    }
                }
                ScriptedUserServices ui;
                MemoryModule image(ui);
                ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
                const int freeBefore = image.GetFreePageCount();
                const UnitConfiguration again = Exercise(image, &unit);
                EXPECT_TRUE(ui.Shown().empty());
                EXPECT_EQ(image.WalkChain(kDirectoryChain, INT_MAX).pages, directory);
                if (staleLink) {
                    EXPECT_EQ(image.GetFreePageCount(), freeBefore);
                }
                EXPECT_EQ(again.directory.Count(), Demo().lists.directory.Count());
                EXPECT_EQ(again.entryCodes, unit.entryCodes);
                EXPECT_EQ(again.blockCards, unit.blockCards);
                EXPECT_EQ(again.blockTransmitters, unit.blockTransmitters);
                ExpectCodeChainsSound(image);
            }
        }
    }

    } // namespace
} // namespace tolvane
