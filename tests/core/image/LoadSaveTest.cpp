// Memory module files through real files: full modules of every size, unknown size codes, short
// files, the signature and firmware checks with their messages, paths that are no memory module
// (missing files, directories, devices and FIFOs), and saving in place (never creating, never
// truncating, and never passing a failed write as saved).
#include "ImageBuilder.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace tolvane {
namespace {

using namespace layout;

constexpr const char* kNotValid = "Not a valid memory module file";

std::string FirmwareMessage(const std::string& version) {
    return "The firmware version " + version +
           " is not supported by this version of Tolvane.\n"
           "No Varko older than version 5.00 are supported.";
}

class LoadSaveTest : public ::testing::Test {
protected:
    TempDirectory dir_;
    ScriptedUserServices ui_;
};

TEST_F(LoadSaveTest, LoadsFullFilesOfEverySizeCode) {
    const std::pair<uint8_t, int> sizes[] = {{0x40, 254}, {0x50, 126}, {0x60, 62}, {0x70, 14}};
    for (const auto& [sizeCode, pages] : sizes) {
        SCOPED_TRACE(static_cast<int>(sizeCode));
        ImageBuilder builder(sizeCode);
        builder.Page(pages - 1)[1023] = 0x22;
        std::vector<uint8_t> bytes = builder.Bytes();
        ASSERT_EQ(bytes.size(), kSystemAreaSize + kPageSize * static_cast<std::size_t>(pages));
        const std::string path = dir_.WriteBytes("full.mem", bytes);

        MemoryModule image(ui_);
        EXPECT_EQ(image.Load(path), kLoadOk);
        EXPECT_EQ(image.GetPageCount(), pages);
        EXPECT_EQ(image.GetLoadedPageCount(), pages);
        EXPECT_EQ(image.GetPage(pages - 1)[1023], 0x22);
        EXPECT_EQ(image.GetBytes(), TempDirectory::ReadBytes(path));

        // Whatever follows the last page is not part of the module.
        bytes.insert(bytes.end(), 300, 0x77);
        EXPECT_EQ(image.Load(dir_.WriteBytes("longer.mem", bytes)), kLoadOk);
        EXPECT_EQ(image.GetLoadedPageCount(), pages);
        EXPECT_EQ(image.GetBytes().size(), bytes.size() - 300);
    }
    EXPECT_TRUE(ui_.Shown().empty());
}

// A page is appended even when the file ends right before it: it stays all zero. Saving then
// writes the whole of every page held over the file's start and leaves the rest of it alone.
TEST_F(LoadSaveTest, ShortFilesKeepWhatWasReadFailAndSaveOnlyThat) {
    ImageBuilder builder(0x70);
    std::fill(builder.Page(0).begin(), builder.Page(0).end(), 0x5A);
    std::fill(builder.Page(13).begin(), builder.Page(13).end(), 0x6B);
    const std::vector<uint8_t> full = builder.Bytes();
    MemoryModule image(ui_);
    std::vector<uint8_t> part;
    for (const auto& [length, pages] :
         std::vector<std::pair<std::size_t, int>>{{2047, 0}, {2048, 1}, {16383, 14}, {3000, 1}}) {
        SCOPED_TRACE(length);
        part.assign(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(image.Load(dir_.WriteBytes("short.mem", part)), kLoadInvalid);
        EXPECT_EQ(image.GetLoadedPageCount(), pages);
        const std::vector<uint8_t> held = image.GetBytes();
        ASSERT_EQ(held.size(), kSystemAreaSize + kPageSize * static_cast<std::size_t>(pages));
        EXPECT_TRUE(std::equal(part.begin(), part.end(), held.begin()));
        EXPECT_TRUE(std::all_of(held.begin() + static_cast<std::ptrdiff_t>(length), held.end(),
                                [](uint8_t b) { return b == 0; }));
    }
    // The version sits in the first bytes, so these files fail without a word.
    EXPECT_TRUE(ui_.Shown().empty());

    const std::string target = dir_.WriteBytes("target.mem", std::vector<uint8_t>(16384, 0xEE));
    EXPECT_EQ(image.Save(target), kSaveOk);
    std::vector<uint8_t> expected(16384, 0xEE);
    std::copy(part.begin(), part.end(), expected.begin());
    std::fill(expected.begin() + 3000, expected.begin() + 3072, 0);
    EXPECT_EQ(TempDirectory::ReadBytes(target), expected);
}

// Both messages come, and a rejected file leaves only a zero system area, which is all a save
// then writes.
TEST_F(LoadSaveTest, MissingSignatureRejectsTheFileWithBothMessages) {
    ImageBuilder builder(0x50);
    builder.Byte(0, 'X');
    MemoryModule image(ui_);
    EXPECT_EQ(image.Load(dir_.WriteBytes("bad.mem", builder.Bytes())), kLoadInvalid);
    ASSERT_EQ(ui_.Shown().size(), 2u);
    EXPECT_EQ(ui_.Shown()[0].text, kNotValid);
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui_.Shown()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ui_.Shown()[1].text, FirmwareMessage(""));
    EXPECT_EQ(ui_.Shown()[1].icon, MessageIcon::None);
    EXPECT_EQ(ui_.Shown()[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(image.GetLoadedPageCount(), 0);
    EXPECT_EQ(image.GetBytes(), std::vector<uint8_t>(kSystemAreaSize, 0));

    const std::string other = dir_.WriteBytes("other.mem", std::vector<uint8_t>(4000, 0xEE));
    EXPECT_EQ(image.Save(other), kSaveOk);
    std::vector<uint8_t> expected(4000, 0xEE);
    std::fill(expected.begin(), expected.begin() + kSystemAreaSize, 0);
    EXPECT_EQ(TempDirectory::ReadBytes(other), expected);
}

// The version text ends at a zero byte. An unknown size code loads no pages and no banks, and
// its firmware is checked all the same.
TEST_F(LoadSaveTest, FirmwareBefore500IsRefusedButKeptAsRead) {
    // Size code, firmware bytes, the version text, whether it loads, the pages loaded.
    const std::tuple<uint8_t, std::array<char, 3>, const char*, bool, int> cases[] = {
        {0x60, {'4', '9', '9'}, "4.99", false, 62}, {0x60, {'5', '0', '0'}, "5.00", true, 62},
        {0x60, {'5', '1', '0'}, "5.10", true, 62},  {0x60, {0, '0', '0'}, "", false, 62},
        {0x60, {'5', 0, '0'}, "5.", false, 62},     {0x33, {'5', '0', '0'}, "5.00", true, 0},
        {0x33, {'4', '9', '9'}, "4.99", false, 0}};
    for (const auto& [sizeCode, firmware, text, supported, pages] : cases) {
        SCOPED_TRACE(::testing::Message() << +sizeCode << " " << text);
        ui_.Forget();
        ImageBuilder builder(0x60);
        builder.Byte(kSizeCode, sizeCode).Firmware(firmware[0], firmware[1], firmware[2]);
        MemoryModule image(ui_);
        EXPECT_EQ(image.Load(dir_.WriteBytes("fw.mem", builder.Bytes())),
                  supported ? kLoadOk : kLoadInvalid);
        EXPECT_EQ(image.GetFirmwareVersion(), text);
        EXPECT_EQ(image.GetLoadedPageCount(), pages);
        EXPECT_EQ(image.GetBankCount(), pages == 0 ? 0 : 2);
        EXPECT_EQ(ui_.Texts(), supported ? std::vector<std::string>{}
                                         : std::vector<std::string>{FirmwareMessage(text)});
    }
}

// Neither loading nor saving takes a missing file or a directory, and loading takes nothing but a
// regular file (no device, no FIFO); a save never creates a file, never truncates one, and never
// passes a failed write as saved.
TEST_F(LoadSaveTest, PathsThatAreNoMemoryModuleAndSavingInPlace) {
    ImageBuilder builder(0x70);
    builder.Page(5)[17] = 0x99;
    const std::vector<uint8_t> bytes = builder.Bytes();
    const std::string missing = dir_.Path("missing.mem");
    MemoryModule image(ui_);
    ASSERT_EQ(image.Load(dir_.WriteBytes("good.mem", bytes)), kLoadOk);
    // A failed open still leaves the previous image gone.
    EXPECT_EQ(image.Load(missing), kLoadCannotOpen);
    EXPECT_EQ(image.GetSizeCode(), 0);
    EXPECT_EQ(image.GetLoadedPageCount(), 0);
    EXPECT_EQ(image.Load(dir_.Dir()), kLoadCannotOpen);
    EXPECT_EQ(image.Load("/dev/null"), kLoadCannotOpen);
    // A FIFO that nobody writes to is refused, not waited on. Should a load ever wait on one
    // again, a writer comes along after a while and ends the wait, so the test fails instead of
    // hanging.
    const std::string fifo = dir_.Path("fifo.mem");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::future<int> load = std::async(std::launch::async, [&] { return image.Load(fifo); });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    }
    EXPECT_EQ(load.get(), kLoadCannotOpen);
    EXPECT_TRUE(ui_.Shown().empty());

    ASSERT_EQ(image.LoadBytes(bytes), kLoadOk);
    EXPECT_EQ(image.Save(missing), kSaveCannotOpen);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(image.Save(dir_.Dir()), kSaveCannotOpen);

    std::vector<uint8_t> longer(bytes.size() + 500, 0xEE);
    const std::string path = dir_.WriteBytes("longer.mem", longer);
    EXPECT_EQ(image.Save(path), kSaveOk);
    std::copy(bytes.begin(), bytes.end(), longer.begin());
    EXPECT_EQ(TempDirectory::ReadBytes(path), longer);

    // A shorter file grows to the whole image.
    const std::string shorter = dir_.WriteBytes("shorter.mem", std::vector<uint8_t>(10, 0xEE));
    EXPECT_EQ(image.Save(shorter), kSaveOk);
    EXPECT_EQ(TempDirectory::ReadBytes(shorter), bytes);

    // A full disk is a failed write, never a saved file.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(image.Save("/dev/full"), kSaveWriteFailed);
    }
}

} // namespace
} // namespace tolvane
