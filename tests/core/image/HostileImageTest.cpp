// Damaged and hostile images: chains that loop or leave the image, chain entries beyond it,
// impossible directory capacities and digit counts, free maps that claim blocks the module does
// not have, truncated files, and randomly damaged demo images. Nothing may crash, every walk must
// end, every list read must make sense, and packing must leave chains that a walk can follow.
#include "DemoImage.h"
#include "ImageBuilder.h"
#include "document/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>
#include <set>

namespace tolvane {
namespace {

using namespace layout;

constexpr int kDemoPages = 126;
constexpr int kUnusedDemoPage = 120; // free and all zero in the demo
constexpr int kKnownChains[] = {kSingleTransmitterChain, kBlockTransmitterChain, kEntryCodeChain,
                                kBlockCardChain,         kDirectoryChain,        kEventLogChain};

const std::vector<uint8_t>& DemoBytes() {
    static const std::vector<uint8_t> bytes = [] {
        ScriptedUserServices ui;
        return BuildDemoImage(ui);
    }();
    return bytes;
}

const UnitConfiguration& DemoLists() {
    static const UnitConfiguration lists = [] {
        ScriptedUserServices ui;
        MemoryModule image(ui);
        image.LoadBytes(DemoBytes());
        UnitConfiguration unit;
        unit.Unpack(image);
        return unit;
    }();
    return lists;
}

std::vector<int> DemoChain(int chain) {
    ScriptedUserServices ui;
    MemoryModule image(ui);
    image.LoadBytes(DemoBytes());
    return image.WalkChain(chain, INT_MAX).pages;
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
// what holds for any image whatever its bytes.
void Exercise(MemoryModule& image, const UnitConfiguration* lists = nullptr) {
    ExpectWalksEnd(image);
    UnitConfiguration unit;
    unit.Unpack(image);
    ExpectInRange(unit, image);
    (lists != nullptr ? *lists : unit).Pack(image);
    ExpectWalksEnd(image);
    UnitConfiguration again;
    again.Unpack(image);
    ExpectInRange(again, image);
    const std::vector<uint8_t> saved = image.GetBytes();
    ASSERT_GE(saved.size(), kSystemAreaSize);
    EXPECT_EQ((saved.size() - kSystemAreaSize) % kPageSize, 0u);
    EXPECT_LE(saved.size(), PageStart(std::min(image.GetPageCount(), image.GetLoadedPageCount())));
}

// After packing, each code chain ends where its last page says and no page serves two chains.
// An empty block code chain keeps one zero page with a page count of 0.
void ExpectCodeChainsSound(const MemoryModule& image, bool countsMatch = true) {
    std::set<int> taken;
    for (const int chain : {kBlockTransmitterChain, kEntryCodeChain, kBlockCardChain}) {
        const ChainWalk walk = image.WalkChain(chain, INT_MAX);
        EXPECT_EQ(walk.end, WalkEnd::ChainEnd) << "chain " << chain;
        if (countsMatch && !walk.pages.empty()) {
            EXPECT_EQ(walk.pages.size(), std::max<std::size_t>(image.GetChainPageCount(chain), 1u))
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
    for (int page = image.AllocatePage(); page != kNoPage; page = image.AllocatePage()) {
        EXPECT_TRUE(image.IsPage(page)) << page;
        EXPECT_EQ(std::count(pages.begin(), pages.end(), page), 0) << page;
        pages.push_back(page);
        if (pages.size() > static_cast<std::size_t>(kMaxBanks * kBlocksPerBank)) {
            ADD_FAILURE() << "AllocatePage never runs out";
            break;
        }
    }
    return pages;
}

TEST(HostileImageTest, LoopingChainsOfEveryKindEndEveryWalk) {
    for (const int chain : kKnownChains) {
        const std::vector<int> pages = DemoChain(chain);
        ASSERT_FALSE(pages.empty()) << chain;
        for (const bool throughAnotherPage : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "chain " << chain << ", loop through another page "
                                              << throughAnotherPage);
            std::vector<uint8_t> bytes = DemoBytes();
            if (throughAnotherPage) {
                SetForwardLink(bytes, pages.back(), kUnusedDemoPage + kSystemBlocks);
                SetForwardLink(bytes, kUnusedDemoPage, pages.front() + kSystemBlocks);
            } else {
                SetForwardLink(bytes, pages.back(), pages.back() + kSystemBlocks);
            }
            bytes[ChainEntry(chain) + 2] = 255;
            ScriptedUserServices ui;
            MemoryModule image(ui);
            ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
            const ChainWalk walk = image.WalkChain(chain, INT_MAX);
            EXPECT_EQ(walk.end, WalkEnd::Loop);
            EXPECT_EQ(walk.pages.size(), pages.size() + (throughAnotherPage ? 1 : 0));
            Exercise(image);
            ExpectCodeChainsSound(image);
            EXPECT_TRUE(ui.Shown().empty());
        }
    }
}

TEST(HostileImageTest, LinksAndChainEntriesBeyondTheImage) {
    for (const int chain : kKnownChains) {
        // The chain entry or the first page's link names block 255, 200 (0x28 carries stray bits
        // that the chain table ignores), 232, or 479 through a second link byte beyond 31: all
        // beyond the 128 blocks of the demo.
        for (const int variant : {0, 1, 2, 3}) {
            SCOPED_TRACE(::testing::Message() << "chain " << chain << ", variant " << variant);
            std::vector<uint8_t> bytes = DemoBytes();
            const std::size_t link =
                variant < 2 ? ChainEntry(chain) : PageStart(DemoChain(chain)[0]);
            bytes[link] = variant == 1 ? 0x86 : 0x87;
            bytes[link + 1] = variant == 1 ? 0x28 : (variant == 2 ? 0x08 : 0xFF);
            bytes[ChainEntry(chain) + 2] = variant < 2 ? 3 : 255;
            ScriptedUserServices ui;
            MemoryModule image(ui);
            ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
            const ChainWalk walk = image.WalkChain(chain, INT_MAX);
            EXPECT_EQ(walk.end, WalkEnd::BeyondImage);
            EXPECT_EQ(walk.pages.size(), variant < 2 ? 0u : 1u);
            // The demo's lists packed into it rebuild any code chain lost this way.
            Exercise(image, &DemoLists());
            ExpectCodeChainsSound(image);
            UnitConfiguration reread;
            reread.Unpack(image);
            EXPECT_EQ(reread.entryCodes, DemoLists().entryCodes);
            EXPECT_EQ(reread.blockCards, DemoLists().blockCards);
            EXPECT_EQ(reread.blockTransmitters, DemoLists().blockTransmitters);
            EXPECT_TRUE(ui.Shown().empty());
        }
    }
}

TEST(HostileImageTest, DirectoryNeverWritesBeyondItsCountedPages) {
    const std::vector<int> chain = DemoChain(kDirectoryChain); // three record pages, a name page
    ASSERT_EQ(chain.size(), 4u);
    struct Case {
        uint16_t capacity;
        uint8_t pageCount;
        std::size_t entries;
    };
    // Slot 0 is the header, so one counted page holds 20 of the demo's 25 tenants.
    for (const Case c : {Case{65535, 4, 25}, Case{65535, 2, 20}, Case{65535, 1, 0},
                         Case{65535, 0, 0}, Case{1, 4, 0}}) {
        SCOPED_TRACE(::testing::Message() << c.capacity << " slots, page count " << +c.pageCount);
        std::vector<uint8_t> bytes = DemoBytes();
        bytes[kDirectoryCapacity] = static_cast<uint8_t>(c.capacity >> 8);
        bytes[kDirectoryCapacity + 1] = static_cast<uint8_t>(c.capacity & 0xFF);
        bytes[ChainEntry(kDirectoryChain) + 2] = c.pageCount;
        ScriptedUserServices ui;
        MemoryModule image(ui);
        ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
        UnitConfiguration unit;
        unit.Unpack(image);
        EXPECT_EQ(unit.directory.Count(), c.entries);
        unit.Pack(image);
        for (std::size_t i = std::max(c.pageCount, uint8_t{1}) - 1u; i < chain.size(); ++i) {
            const auto page = image.GetPage(chain[i]);
            EXPECT_TRUE(std::equal(page.begin(), page.end(), bytes.begin() + PageStart(chain[i])))
                << "page " << chain[i] << " was written";
        }
        unit.Unpack(image);
        EXPECT_EQ(unit.directory.Count(), c.entries);
    }
}

TEST(HostileImageTest, EntryCodeDigitCountsAboveEightAreCut) {
    const int page = DemoChain(kEntryCodeChain).front();
    std::vector<uint8_t> bytes = DemoBytes();
    const uint8_t flags[] = {0x8F, 0xCF, 0xB9}; // digit counts 15, 15 and 9 (with stray bits)
    for (std::size_t slot = 0; slot < 3; ++slot) {
        const auto record =
            bytes.begin() + static_cast<std::ptrdiff_t>(PageStart(page) + 8 + 8 * slot);
        std::fill_n(record, 8, 0xFF);
        *record = flags[slot];
    }
    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
    UnitConfiguration unit;
    unit.Unpack(image);
    ASSERT_EQ(unit.entryCodes.size(), DemoLists().entryCodes.size());
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(unit.entryCodes[i].digitCount, 8);
        EXPECT_EQ(unit.entryCodes[i].validationGroup, 15);
    }
    unit.Pack(image);
    for (std::size_t slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(image.GetPage(page)[8 + 8 * slot] & 0x3F, 8) << "slot " << slot;
    }
    UnitConfiguration again;
    again.Unpack(image);
    EXPECT_EQ(again.entryCodes, unit.entryCodes);
}

TEST(HostileImageTest, FreeMapsNeverHandOutPagesTheImageDoesNotHold) {
    // A 16 KB module whose bank table calls every block of all eight banks free, 255 of them in
    // each: only its 14 pages may come out, blocks 0 and 1 never.
    ImageBuilder small(0x70);
    for (std::size_t entry = kBankTable; entry < kBankTable + kMaxBanks * kBankEntrySize;
         entry += kBankEntrySize) {
        small.Byte(entry, 0x80).Byte(entry + 1, 255);
        std::fill_n(small.SystemArea().begin() + static_cast<std::ptrdiff_t>(entry) + 4, 4, 0xFF);
    }
    const std::vector<uint8_t> full = small.Bytes();
    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.LoadBytes(full), kLoadOk);
    std::vector<int> expected(14);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(AllocateAll(image), expected);

    // Cut short, the same module offers only the pages that were read.
    ASSERT_EQ(image.LoadBytes(std::span(full).first(PageStart(5) + 100)), kLoadInvalid);
    EXPECT_EQ(AllocateAll(image).size(), 6u);

    // A count of 255 over an empty map offers nothing.
    std::vector<uint8_t> empty = full;
    std::fill_n(empty.begin() + kBankTable + 4, 4, 0);
    ASSERT_EQ(image.LoadBytes(empty), kLoadOk);
    EXPECT_EQ(image.AllocatePage(), kNoPage);

    // Packing far more than the module holds: the messages come, the chains stay whole.
    UnitConfiguration big;
    big.entryCodes.assign(1000, EntryCode{4, {1, 2, 3, 4}, 1, 1});
    big.blockCards.ranges = {{0, 65535, 1}};
    big.blockTransmitters.ranges = {{10, 20, 2}, {30, 40, 3}};
    ASSERT_EQ(image.LoadBytes(full), kLoadOk);
    Exercise(image, &big);
    ExpectCodeChainsSound(image, false);
    EXPECT_FALSE(ui.Shown().empty());
    for (const ShownMessage& message : ui.Shown()) {
        EXPECT_EQ(message.text.rfind("No more memory module pages available for ", 0), 0u)
            << message.text;
    }
}

// A free map that calls a page of the chain being written free: when the chain needs one more
// page, the page already written must not come back as the new one, or its codes are wiped
// without a word and the page count no longer matches the chain.
TEST(HostileImageTest, PackingNeverTakesAPageItIsWritingAsANewOne) {
    for (const int chain : {kEntryCodeChain, kBlockCardChain}) {
        SCOPED_TRACE(::testing::Message() << "chain " << chain);
        std::vector<uint8_t> bytes = DemoBytes();
        const int block = DemoChain(chain).front() + kSystemBlocks;
        bytes[kBankTable + kBankEntrySize * static_cast<std::size_t>(block / 32) + 4 +
              static_cast<std::size_t>(block % 32 / 8)] |= static_cast<uint8_t>(1 << (block % 8));
        ScriptedUserServices ui;
        MemoryModule image(ui);
        ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
        // Only the chain under test grows, so no other chain allocates.
        UnitConfiguration unit = DemoLists();
        if (chain == kEntryCodeChain) {
            for (uint8_t i = 0; i < 150; ++i) {
                const uint8_t tens = static_cast<uint8_t>(i / 10 % 10);
                unit.entryCodes.push_back(
                    EntryCode{3, {1, tens, static_cast<uint8_t>(i % 10)}, 2, 1});
            }
        } else {
            unit.blockCards.ranges.emplace_back(50000, 50010, 7);
        }
        unit.Pack(image);
        EXPECT_TRUE(ui.Shown().empty());
        UnitConfiguration again;
        again.Unpack(image);
        EXPECT_EQ(again.entryCodes, unit.entryCodes);
        EXPECT_EQ(again.blockCards, unit.blockCards);
        ExpectCodeChainsSound(image);
    }
}

// A stale forward link from the last page of a code chain into another chain must not take that
// chain's pages with it when the code chain is packed and its leftovers released.
TEST(HostileImageTest, PackingNeverReleasesAnotherChainsPages) {
    for (const int chain : {kEntryCodeChain, kBlockCardChain, kBlockTransmitterChain}) {
        SCOPED_TRACE(::testing::Message() << "chain " << chain);
        std::vector<uint8_t> bytes = DemoBytes();
        const int directoryFirst = DemoChain(kDirectoryChain).front();
        SetForwardLink(bytes, DemoChain(chain).back(), directoryFirst + kSystemBlocks);
        ScriptedUserServices ui;
        MemoryModule image(ui);
        ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
        const int freeBefore = image.GetFreePageCount();

        UnitConfiguration unit;
        unit.Unpack(image);
        unit.Pack(image);
        EXPECT_EQ(image.WalkChain(kDirectoryChain, INT_MAX).pages, DemoChain(kDirectoryChain));
        EXPECT_EQ(image.GetFreePageCount(), freeBefore);
        UnitConfiguration again;
        again.Unpack(image);
        EXPECT_EQ(again.directory.Count(), DemoLists().directory.Count());
        EXPECT_EQ(again.entryCodes, DemoLists().entryCodes);
        EXPECT_EQ(again.blockCards, DemoLists().blockCards);
    }
}

TEST(HostileImageTest, TruncatedImagesOfManyLengths) {
    for (const std::size_t length : {0, 1, 2, 3, 15, 16, 17, 100, 2047, 2048, 2049, 3071, 3072,
                                     3073, 10000, 20000, 65536, 131071}) {
        SCOPED_TRACE(length);
        ScriptedUserServices ui;
        MemoryModule image(ui);
        EXPECT_EQ(image.LoadBytes(std::span(DemoBytes()).first(length)), kLoadInvalid);
        const std::size_t pages =
            length < kSystemAreaSize ? 0 : (length - kSystemAreaSize) / 1024 + 1;
        EXPECT_EQ(image.GetLoadedPageCount(), static_cast<int>(pages));
        Exercise(image, &DemoLists());
        AllocateAll(image);
    }
}

// One seeded run over the demo image with random damage, concentrated where it hurts most: the
// size code, the bank and chain tables, the directory fields and the page links.
TEST(HostileImageTest, RandomDamageToTheDemoImage) {
    std::mt19937 random(20261206u);
    const auto next = [&](std::size_t bound) { return static_cast<std::size_t>(random() % bound); };
    const std::pair<std::size_t, std::size_t> hot[] = {
        {kSizeCode, 1}, {kBankTable, 64}, {kChainTable, 64}, {kDirectoryCapacity, 10}};
    for (int round = 0; round < 300 && !::testing::Test::HasFailure(); ++round) {
        SCOPED_TRACE(round);
        std::vector<uint8_t> bytes = DemoBytes();
        for (std::size_t damage = 1 + next(12); damage > 0; --damage) {
            const std::size_t kind = next(8);
            if (kind == 0) {
                SetForwardLink(bytes, static_cast<int>(next(kDemoPages)),
                               static_cast<int>(next(kDemoPages + 8)));
                continue;
            }
            std::size_t offset = next(kSystemAreaSize);
            if (kind <= 3) {
                const auto& [first, size] = hot[next(std::size(hot))];
                offset = first + next(size);
            } else if (kind <= 5) {
                offset = PageStart(static_cast<int>(next(kDemoPages))) + next(kPageHeaderSize);
            } else if (kind == 6) {
                offset = kSystemAreaSize + next(bytes.size() - kSystemAreaSize);
            }
            bytes[offset] = next(3) == 0 ? static_cast<uint8_t>(bytes[offset] ^ (1u << next(8)))
                                         : static_cast<uint8_t>(next(256));
        }
        if (next(10) == 0) {
            bytes.resize(next(bytes.size()));
        }
        ScriptedUserServices ui;
        MemoryModule image(ui);
        const int result = image.LoadBytes(bytes);
        ASSERT_TRUE(result == kLoadOk || result == kLoadInvalid) << result;
        Exercise(image);
        AllocateAll(image);
    }
}

} // namespace
} // namespace tolvane
