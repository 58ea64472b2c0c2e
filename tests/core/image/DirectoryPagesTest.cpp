// Telephone directory pages: the 48-byte records with their name-order links and unit addresses,
// the header and empty slots, the first and middle pointers of the system area, the capacity and
// what happens when it claims more slots than the pages hold, and chains with broken links.
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "support/ImageTestKit.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tolvane {
namespace {

constexpr std::size_t kCapacityField = 224;
constexpr std::size_t kWrittenField = 226; // then the first and the middle record's addresses

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A 48-byte record: code, flags, digit count and links as given, then the number right-aligned
// among stars and the name left-aligned among blanks.
Bytes Record(std::initializer_list<Bytes> head, const std::string& number,
             const std::string& name) {
    Bytes record = Concat(head);
    record.resize(48, ' ');
    std::fill_n(record.begin() + 12, 12 - number.size(), '*');
    std::copy(number.begin(), number.end(), record.begin() + 24 - number.size());
    std::copy(name.begin(), name.end(), record.begin() + 24);
    return record;
}

Bytes Slot(std::span<const uint8_t> page, std::size_t slot) {
    return Slice(page, 16 + 48 * slot, 48);
}

void PutSlot(std::span<uint8_t> page, std::size_t slot, const Bytes& record) {
    std::copy(record.begin(), record.end(), page.begin() + 16 + 48 * slot);
}

// A capacity of 30 on two pages of bank 1. First the records laid out by hand are read: only
// slots in use and within the capacity, the number field rather than the digit count byte, names
// up to a zero byte. Then three lists are written in turn: two names that are each other's
// neighbours; three in byte-wise order (upper case first), with twelve digits and a name cut to
// 24 characters; and none. The header carries the first code, slots beyond the last entry the
// last code (0 when there is none), and nothing past slot 29 or in the page headers is touched.
TEST(DirectoryPagesTest, RecordsOfBank1ReadAndWrittenInTheirByteLayout) {
    ImageBuilder builder(0x60);
    for (int i = 0; i < 38; ++i) {
        builder.TakePage();
    }
    const auto chain = builder.AddDirectory(2, 30); // pages 38 and 39 (blocks 40, 41), name page
    const Bytes links{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x00, 0x00};
    PutSlot(builder.Page(chain[0]), 5,
            Record({{0x01, 0x2C, 0xA0, 0x09}, links}, "**12*34*****", "Jones"));
    PutSlot(builder.Page(chain[0]), 6, Record({{0x00, 0x09, 0x20, 0x00}, links}, "", "Ghost"));
    PutSlot(builder.Page(chain[0]), 7,
            Record({{0x00, 0x0A, 0x80, 0x00}, links}, "", std::string("Ann\0Zed", 7)));
    PutSlot(builder.Page(chain[1]), 8, // slot 29, the last within the capacity
            Record({{0xFF, 0xFF, 0x80, 0x0C}, links}, "000000000000", "ABCDEFGHIJKLMNOPQRSTUVWX"));
    PutSlot(builder.Page(chain[1]), 9, Record({{0x00, 0x0B, 0x80, 0x00}, links}, "", "Late"));
    std::fill(builder.Page(chain[1]).begin() + 16 + 48 * 10, builder.Page(chain[1]).end(), 0xEE);
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    const Bytes secondPageBefore = Slice(image.GetPage(chain[1]), 0, 1024);
    const auto page = image.GetPage(chain[0]);
    const auto system = image.GetSystemArea();
    const auto expectEmptyFrom = [&](std::size_t first, uint8_t lastCode) {
        const Bytes empty = Concat({Bytes{0x00, lastCode}, Bytes(46, 0)});
        for (std::size_t slot = first; slot < 30; ++slot) {
            EXPECT_EQ(Slot(image.GetPage(chain[slot / 21]), slot % 21), empty) << "slot " << slot;
        }
        EXPECT_EQ(Slice(image.GetPage(chain[1]), 448, 576), Slice(secondPageBefore, 448, 576));
        EXPECT_EQ(Slice(image.GetPage(chain[1]), 0, 16), Slice(secondPageBefore, 0, 16));
    };

    DirectoryList list;
    list.Append(MakeDirectoryEntry(1, "Stale"));
    image.ReadDirectory(list);
    EXPECT_EQ(image.GetDirectoryCapacity(), 30);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).name, "Jones");
    EXPECT_EQ(list.At(1).name, "Ann");
    EXPECT_EQ(list.At(2).name, "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(list.At(0).code, 300);
    EXPECT_EQ(list.At(0).extendedTalk, 1);
    EXPECT_EQ(list.At(0).digitCount, 4);
    EXPECT_EQ(std::vector<uint16_t>(list.At(0).digits.begin(), list.At(0).digits.begin() + 4),
              (std::vector<uint16_t>{1, 2, 3, 4}));
    EXPECT_EQ(list.At(2).code, 0xFFFF);
    EXPECT_EQ(list.At(2).digitCount, 12);

    list.RemoveAll();
    list.Append(MakeDirectoryEntry(12, "Smith", "5551234", true));
    list.Append(MakeDirectoryEntry(7, "Adams"));
    image.WriteDirectory(list);
    EXPECT_EQ(Slot(page, 0), Record({Bytes{0x00, 0x0C}, Bytes(10, 0)}, "", ""));
    // Slot 1 is at 0xA040, slot 2 at 0xA070; with two names each is the other's neighbour.
    EXPECT_EQ(Slot(page, 1),
              Record({{0x00, 0x0C, 0xA0, 0x07, 0x01, 0xA0, 0x70, 0x01, 0xA0, 0x70, 0x00, 0x00}},
                     "5551234", "Smith"));
    EXPECT_EQ(Slot(page, 2),
              Record({{0x00, 0x07, 0x80, 0x00, 0x01, 0xA0, 0x40, 0x01, 0xA0, 0x40, 0x00, 0x00}}, "",
                     "Adams"));
    expectEmptyFrom(3, 0x07);
    EXPECT_EQ(Slice(system, kCapacityField, 10),
              (Bytes{0x00, 0x1E, 0x00, 0x02, 0x01, 0xA0, 0x70, 0x01, 0xA0, 0x40}));

    list.RemoveAll();
    list.Append(MakeDirectoryEntry(1, "adams"));
    list.Append(MakeDirectoryEntry(2, "Zed", "123456789012"));
    list.Append(MakeDirectoryEntry(3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    image.WriteDirectory(list);
    // Name order: slot 3, slot 2, slot 1; the middle (position 1) is slot 2.
    const Bytes slot1{0x01, 0xA0, 0x40}, slot2{0x01, 0xA0, 0x70}, slot3{0x01, 0xA0, 0xA0};
    EXPECT_EQ(Slot(page, 1), Record({{0x00, 0x01, 0x80, 0x00}, slot3, slot2, {0, 0}}, "", "adams"));
    EXPECT_EQ(Slot(page, 2),
              Record({{0x00, 0x02, 0x80, 0x0C}, slot1, slot3, {0, 0}}, "123456789012", "Zed"));
    EXPECT_EQ(Slot(page, 3), Record({{0x00, 0x03, 0x80, 0x00}, slot2, slot1, {0, 0}}, "",
                                    "ABCDEFGHIJKLMNOPQRSTUVWX"));
    expectEmptyFrom(4, 0x03);
    EXPECT_EQ(Slice(system, kWrittenField, 8), Concat({Bytes{0x00, 0x03}, slot3, slot2}));

    list.RemoveAll();
    image.WriteDirectory(list);
    EXPECT_EQ(Slot(page, 0), Record({Bytes(12, 0)}, "", ""));
    expectEmptyFrom(1, 0x00);
    EXPECT_EQ(Slice(system, kWrittenField, 8), Bytes(8, 0));
}

// A capacity of 50 over one record page, or over two of which the first links back to itself:
// 21 slots are there either way, so 20 entries are written, and the five without a slot (which
// would sort first) are never named. The page after, with in-use bits where records would be, is
// neither read nor written.
TEST(DirectoryPagesTest, CapacityIsCutToTheRecordPagesWalked) {
    for (const bool looped : {false, true}) {
        SCOPED_TRACE(looped);
        ImageBuilder builder(0x70);
        const auto chain = builder.AddDirectory(looped ? 2 : 1, 50); // page 0, then page 1
        builder.NamePageText(0, "Main entrance").NamePageText(1, "North gate");
        builder.Page(chain[1])[18] = 0x80;
        builder.Page(chain[1])[16 + 48 * 3 + 2] = 0x80;
        if (looped) {
            builder.Page(chain[0])[0] = 0x80;
            builder.Page(chain[0])[1] = 0x02;
        }
        LoadedImage loaded(builder);
        MemoryModule& image = loaded.image;
        const Bytes secondPageBefore = Slice(image.GetPage(chain[1]), 0, 1024);

        DirectoryList list;
        image.ReadDirectory(list);
        EXPECT_EQ(list.Count(), 0u);
        EXPECT_EQ(image.GetDirectoryCapacity(), 50);
        EXPECT_EQ(image.GetDirectorySlots(), 21); // what the editor may fill, less the header
        for (int i = 0; i < 25; ++i) {
            const std::string name =
                std::string(i < 20 ? "N" : "A").append(std::to_string(i < 20 ? 10 + i : i));
            list.Append(MakeDirectoryEntry(static_cast<uint16_t>(100 + i), name));
        }
        image.WriteDirectory(list);

        EXPECT_EQ(Slice(image.GetPage(chain[1]), 0, 1024), secondPageBefore);
        // Slots 1, 2, 11, 19 and 20 of block 2 are at 0x8840, 0x8870, 0x8A20, 0x8BA0, 0x8BD0.
        EXPECT_EQ(Slice(image.GetSystemArea(), kWrittenField, 8),
                  (Bytes{0x00, 0x14, 0x00, 0x88, 0x40, 0x00, 0x8A, 0x20}));
        const auto page = image.GetPage(chain[0]);
        EXPECT_EQ(Slice(Slot(page, 1), 4, 6), (Bytes{0x00, 0x88, 0x70, 0x00, 0x8B, 0xD0}));
        EXPECT_EQ(Slice(Slot(page, 20), 4, 6), (Bytes{0x00, 0x88, 0x40, 0x00, 0x8B, 0xA0}));
        image.ReadDirectory(list);
        ASSERT_EQ(list.Count(), 20u);
        EXPECT_EQ(list.At(19).name, "N29");
    }

    // Without a directory chain the capacity is 0 whatever the field says, and writing is a no-op.
    ImageBuilder none(0x70);
    none.BE16(kCapacityField, 30);
    LoadedImage loaded(none);
    DirectoryList list;
    loaded.image.ReadDirectory(list);
    EXPECT_EQ(loaded.image.GetDirectoryCapacity(), 0);
    EXPECT_EQ(loaded.image.GetDirectorySlots(), 0);
    const Bytes before = loaded.image.GetBytes();
    list.Append(MakeDirectoryEntry(1, "New"));
    loaded.image.WriteDirectory(list);
    EXPECT_EQ(loaded.image.GetBytes(), before);
}

} // namespace
} // namespace tolvane
