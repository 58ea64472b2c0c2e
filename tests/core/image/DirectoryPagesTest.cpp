// Telephone directory pages: the 48-byte records with their name-order links and unit addresses,
// the header and empty slots, the first and middle pointers of the system area, the capacity and
// what happens when it claims more slots than the pages hold, and chains with broken links.
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr std::size_t kCapacityField = 224;
constexpr std::size_t kWrittenField = 226; // then the first and the middle record's addresses

struct LoadedImage {
    ScriptedUserServices ui;
    MemoryModule image{ui};
    explicit LoadedImage(const ImageBuilder& builder) {
        EXPECT_EQ(image.LoadBytes(builder.Bytes()), kLoadOk);
    }
};

Bytes Slice(std::span<const uint8_t> bytes, std::size_t offset, std::size_t count) {
    return Bytes(bytes.begin() + offset, bytes.begin() + offset + count);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Text left-aligned in a field of width characters, padded with pad.
Bytes Field(const std::string& text, std::size_t width, char pad) {
    Bytes field(width, static_cast<uint8_t>(pad));
    std::copy(text.begin(), text.end(), field.begin());
    return field;
}

Bytes Slot(std::span<const uint8_t> page, std::size_t slot) {
    return Slice(page, 16 + 48 * slot, 48);
}

void PutSlot(std::span<uint8_t> page, std::size_t slot, const Bytes& record) {
    std::copy(record.begin(), record.end(), page.begin() + 16 + 48 * slot);
}

std::unique_ptr<DirectoryEntry> Entry(uint16_t code, const std::string& name,
                                      const std::string& digits = "", bool extendedTalk = false) {
    auto entry = std::make_unique<DirectoryEntry>();
    entry->code = code;
    entry->name = name;
    entry->digitCount = static_cast<uint16_t>(digits.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        entry->digits[i] = static_cast<uint16_t>(digits[i] - '0');
    }
    entry->extendedTalk = extendedTalk ? 1 : 0;
    return entry;
}

std::vector<std::string> Names(const DirectoryList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        names.push_back(list.At(i).name);
    }
    return names;
}

// Address of directory slot s on a page of block 2 (page 0 of a 14-page module), as three bytes.
Bytes AddressOnBlock2(std::size_t slot) {
    const auto address = static_cast<uint16_t>(0x8000 + 2 * 1024 + 16 + 48 * slot);
    return {0x00, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
}

TEST(DirectoryPagesTest, SmithAndAdamsRecordsCarryCircularLinksToUnitAddressesOfBank1) {
    ImageBuilder builder(0x60);
    for (int i = 0; i < 38; ++i) {
        builder.TakePage();
    }
    const auto chain = builder.AddDirectory(2, 30); // pages 38 and 39 (blocks 40, 41), name page
    std::fill(builder.Page(chain[1]).begin() + 16 + 48 * 9, builder.Page(chain[1]).end(), 0xEE);
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    const Bytes secondPageBefore = Slice(image.GetPage(chain[1]), 0, 1024);

    DirectoryList list;
    image.ReadDirectory(list);
    EXPECT_EQ(image.GetDirectoryCapacity(), 30);
    list.Append(Entry(12, "Smith", "5551234", true));
    list.Append(Entry(7, "Adams"));
    image.WriteDirectory(list);

    const auto page = image.GetPage(chain[0]);
    EXPECT_EQ(Slot(page, 0), Concat({Bytes{0x00, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                     Field("", 12, '*'), Field("", 24, ' ')}));
    // Slot 1 is at 0xA040, slot 2 at 0xA070; with two names each is the other's neighbour.
    EXPECT_EQ(Slot(page, 1),
              Concat({Bytes{0x00, 0x0C, 0xA0, 0x07, 0x01, 0xA0, 0x70, 0x01, 0xA0, 0x70, 0x00, 0x00},
                      Field("*****5551234", 12, ' '), Field("Smith", 24, ' ')}));
    EXPECT_EQ(Slot(page, 2),
              Concat({Bytes{0x00, 0x07, 0x80, 0x00, 0x01, 0xA0, 0x40, 0x01, 0xA0, 0x40, 0x00, 0x00},
                      Field("", 12, '*'), Field("Adams", 24, ' ')}));
    const Bytes empty = Concat({Bytes{0x00, 0x07}, Bytes(46, 0)});
    for (std::size_t slot = 3; slot < 21; ++slot) {
        EXPECT_EQ(Slot(page, slot), empty) << "slot " << slot;
    }
    const auto second = image.GetPage(chain[1]);
    for (std::size_t slot = 0; slot < 9; ++slot) {
        EXPECT_EQ(Slot(second, slot), empty) << "slot " << 21 + slot;
    }
    // Beyond slot 29 the capacity ends; page headers are not the directory's to write.
    EXPECT_EQ(Slice(second, 448, 576), Slice(secondPageBefore, 448, 576));
    EXPECT_EQ(Slice(second, 0, 16), Slice(secondPageBefore, 0, 16));

    EXPECT_EQ(Slice(image.GetSystemArea(), kCapacityField, 10),
              (Bytes{0x00, 0x1E, 0x00, 0x02, 0x01, 0xA0, 0x70, 0x01, 0xA0, 0x40}));

    image.ReadDirectory(list);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"Smith", "Adams"}));
    EXPECT_EQ(list.At(0).digitCount, 7);
    EXPECT_EQ(list.At(0).extendedTalk + list.At(1).extendedTalk, 1);
}

TEST(DirectoryPagesTest, NameOrderIsByteWiseAndFieldsAreFilledToTheirWidth) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddDirectory(1, 4);
    std::fill(builder.Page(chain[0]).begin() + 16 + 48 * 4, builder.Page(chain[0]).end(), 0xEE);
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    DirectoryList list;
    image.ReadDirectory(list);
    list.Append(Entry(1, "adams"));
    list.Append(Entry(2, "Zed", "123456789012"));
    list.Append(Entry(3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ")); // cut to 24 characters
    image.WriteDirectory(list);

    // Name order: slot 3, slot 2, slot 1; the middle (position 1) is slot 2.
    const auto page = image.GetPage(chain[0]);
    EXPECT_EQ(Slot(page, 1),
              Concat({Bytes{0x00, 0x01, 0x80, 0x00}, AddressOnBlock2(3), AddressOnBlock2(2),
                      Bytes{0, 0}, Field("", 12, '*'), Field("adams", 24, ' ')}));
    EXPECT_EQ(Slice(Slot(page, 2), 0, 24),
              Concat({Bytes{0x00, 0x02, 0x80, 0x0C}, AddressOnBlock2(1), AddressOnBlock2(3),
                      Bytes{0, 0}, Field("123456789012", 12, '*')}));
    EXPECT_EQ(Slot(page, 3), Concat({Bytes{0x00, 0x03, 0x80, 0x00}, AddressOnBlock2(2),
                                     AddressOnBlock2(1), Bytes{0, 0}, Field("", 12, '*'),
                                     Field("ABCDEFGHIJKLMNOPQRSTUVWX", 24, ' ')}));
    EXPECT_EQ(Slice(image.GetSystemArea(), kWrittenField, 8),
              Concat({Bytes{0x00, 0x03}, AddressOnBlock2(3), AddressOnBlock2(2)}));
    EXPECT_EQ(Slot(page, 4), Bytes(48, 0xEE)); // beyond the capacity, and nothing spilled there

    image.ReadDirectory(list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"adams", "Zed", "ABCDEFGHIJKLMNOPQRSTUVWX"}));
    EXPECT_EQ(list.At(1).digitCount, 12);
}

TEST(DirectoryPagesTest, ReadingTakesInUseSlotsUpToCapacityAndNeverTheNamePage) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddDirectory(2, 30); // pages 0 and 1, name page 2
    const Bytes links{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x00, 0x00};
    // The digit count byte says 9 but the number field holds four digits: the field counts.
    PutSlot(builder.Page(chain[0]), 5,
            Concat({Bytes{0x01, 0x2C, 0xA0, 0x09}, links, Field("**12*34*****", 12, ' '),
                    Field("Jones", 24, ' ')}));
    PutSlot(builder.Page(chain[0]), 6,
            Concat({Bytes{0x00, 0x09, 0x20, 0x00}, links, Field("", 12, '*'),
                    Field("Ghost", 24, ' ')}));
    PutSlot(builder.Page(chain[0]), 7,
            Concat({Bytes{0x00, 0x0A, 0x80, 0x00}, links, Field("", 12, '*'),
                    Field(std::string("Ann\0Zed", 7), 24, ' ')}));
    PutSlot(builder.Page(chain[1]), 8, // slot 29, the last within the capacity
            Concat({Bytes{0xFF, 0xFF, 0x80, 0x0C}, links, Field("000000000000", 12, '*'),
                    Field("ABCDEFGHIJKLMNOPQRSTUVWX", 24, ' ')}));
    PutSlot(
        builder.Page(chain[1]), 9, // slot 30, beyond it
        Concat({Bytes{0x00, 0x0B, 0x80, 0x00}, links, Field("", 12, '*'), Field("Late", 24, ' ')}));
    LoadedImage loaded(builder);

    DirectoryList list;
    list.Append(Entry(1, "Stale"));
    loaded.image.ReadDirectory(list);
    EXPECT_EQ(loaded.image.GetDirectoryCapacity(), 30);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"Jones", "Ann", "ABCDEFGHIJKLMNOPQRSTUVWX"}));
    EXPECT_EQ(list.At(0).code, 300);
    EXPECT_EQ(list.At(0).extendedTalk, 1);
    EXPECT_EQ(list.At(0).digitCount, 4);
    EXPECT_EQ(std::vector<uint16_t>(list.At(0).digits.begin(), list.At(0).digits.begin() + 4),
              (std::vector<uint16_t>{1, 2, 3, 4}));
    EXPECT_EQ(list.At(2).code, 0xFFFF);
    EXPECT_EQ(list.At(2).digitCount, 12);

    // One directory page and a capacity that claims two: the name page is not records.
    ImageBuilder small(0x70);
    const auto smallChain = small.AddDirectory(1, 42);
    small.Page(smallChain[1])[18] = 0x80;
    small.Page(smallChain[1])[16 + 48 * 3 + 2] = 0x80;
    LoadedImage loadedSmall(small);
    loadedSmall.image.ReadDirectory(list);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(loadedSmall.image.GetDirectoryCapacity(), 42);

    // Without a directory chain the capacity is 0 whatever the field says, and writing is a no-op.
    ImageBuilder none(0x70);
    none.BE16(kCapacityField, 30);
    LoadedImage loadedNone(none);
    loadedNone.image.ReadDirectory(list);
    EXPECT_EQ(loadedNone.image.GetDirectoryCapacity(), 0);
    const Bytes before = loadedNone.image.GetBytes();
    list.Append(Entry(1, "New"));
    loadedNone.image.WriteDirectory(list);
    EXPECT_EQ(loadedNone.image.GetBytes(), before);
}

TEST(DirectoryPagesTest, CapacityBeyondTheDirectoryPagesIsCutAndUnwrittenEntriesAreNeverNamed) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddDirectory(1, 50); // 21 slots on page 0, name page 1
    builder.NamePageText(0, "Main entrance").NamePageText(1, "North gate");
    LoadedImage loaded(builder);
    MemoryModule& image = loaded.image;
    const Bytes namePageBefore = Slice(image.GetPage(chain[1]), 0, 1024);

    DirectoryList list;
    image.ReadDirectory(list);
    for (int i = 0; i < 25; ++i) {
        // The entries without a slot would sort first if they were counted.
        const std::string name = i < 20 ? "N" + std::to_string(10 + i) : "A" + std::to_string(i);
        list.Append(Entry(static_cast<uint16_t>(100 + i), name));
    }
    image.WriteDirectory(list);

    EXPECT_EQ(Slice(image.GetPage(chain[1]), 0, 1024), namePageBefore);
    EXPECT_EQ(Slice(image.GetSystemArea(), kWrittenField, 8),
              Concat({Bytes{0x00, 0x14}, AddressOnBlock2(1), AddressOnBlock2(11)}));
    const auto page = image.GetPage(chain[0]);
    EXPECT_EQ(Slice(Slot(page, 1), 4, 6), Concat({AddressOnBlock2(2), AddressOnBlock2(20)}));
    EXPECT_EQ(Slice(Slot(page, 20), 4, 6), Concat({AddressOnBlock2(1), AddressOnBlock2(19)}));
    image.ReadDirectory(list);
    ASSERT_EQ(list.Count(), 20u);
    EXPECT_EQ(list.At(19).name, "N29");
}

TEST(DirectoryPagesTest, EmptyListWritesHeaderAndEmptySlotsWithCodeZero) {
    ImageBuilder builder(0x70);
    const auto chain = builder.AddDirectory(1, 5);
    std::fill(builder.Page(chain[0]).begin() + 16, builder.Page(chain[0]).end(), 0xEE);
    std::fill_n(builder.SystemArea().begin() + kWrittenField, 8, 0xEE);
    LoadedImage loaded(builder);
    DirectoryList list;
    loaded.image.ReadDirectory(list);
    list.RemoveAll();
    loaded.image.WriteDirectory(list);

    const auto page = loaded.image.GetPage(chain[0]);
    EXPECT_EQ(Slot(page, 0), Concat({Bytes(12, 0), Field("", 12, '*'), Field("", 24, ' ')}));
    for (std::size_t slot = 1; slot < 5; ++slot) {
        EXPECT_EQ(Slot(page, slot), Bytes(48, 0)) << "slot " << slot;
    }
    EXPECT_EQ(Slot(page, 5), Bytes(48, 0xEE));
    EXPECT_EQ(Slice(loaded.image.GetSystemArea(), kWrittenField, 8), Bytes(8, 0));
}

TEST(DirectoryPagesTest, LoopingOrOutOfRangeLinksEndTheWalkWhenReadingAndWriting) {
    for (const Bytes& link : {Bytes{0x80, 0x02}, Bytes{0x87, 0x1F}}) { // itself; block 255
        ImageBuilder builder(0x70);
        const auto chain = builder.AddDirectory(2, 42);
        std::copy(link.begin(), link.end(), builder.Page(chain[0]).begin());
        PutSlot(builder.Page(chain[0]), 1,
                Concat({Bytes{0x00, 0x01, 0x80, 0x00}, Bytes(8, 0), Field("", 12, '*'),
                        Field("Once", 24, ' ')}));
        const Bytes secondPage(builder.Page(chain[1]).begin(), builder.Page(chain[1]).end());
        LoadedImage loaded(builder);
        MemoryModule& image = loaded.image;

        DirectoryList list;
        image.ReadDirectory(list);
        EXPECT_EQ(Names(list), std::vector<std::string>{"Once"});
        for (int i = 0; i < 25; ++i) {
            list.Append(Entry(static_cast<uint16_t>(i), "T" + std::to_string(10 + i)));
        }
        image.WriteDirectory(list);
        EXPECT_EQ(Slice(image.GetSystemArea(), kWrittenField, 2), (Bytes{0x00, 0x14}));
        EXPECT_EQ(Slice(image.GetPage(chain[1]), 0, 1024), secondPage);
        image.ReadDirectory(list);
        EXPECT_EQ(list.Count(), 20u);
    }
}

} // namespace
} // namespace tolvane
