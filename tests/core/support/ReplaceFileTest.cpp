// Replacing a file whole: a new file takes the mode the umask allows, a replaced one keeps its own
// and is replaced where it lives, and the backups are made once the new bytes are there. Refusals
// and failures are met through the callers: the profile files, the module files and the download.
#include "support/ReplaceFile.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(ReplaceFileTest, NewBytesWholeWithTheModeTheFileHadOrTheUmaskGives) {
    TempDirectory dir;
    const Bytes bytes = {1, 2, 3};
    int error = 0;
    int backups = 0;
    auto backup = [&backups] { ++backups; };

    const mode_t mask = ::umask(022);
    EXPECT_EQ(ReplaceFile(dir.Path("new.mem"), bytes, std::nullopt, error, backup),
              ReplaceResult::Replaced);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.Path("new.mem")), 0644u);
    EXPECT_EQ(TempDirectory::ReadBytes(dir.Path("new.mem")), bytes);

    // One reached through a link is replaced where it lives.
    const std::string kept = dir.WriteBytes("kept.mem", {9, 9, 9, 9, 9});
    ::chmod(kept.c_str(), 0640);
    fs::create_symlink(kept, dir.Path("link.mem"));
    EXPECT_EQ(ReplaceFile(dir.Path("link.mem"), bytes, std::nullopt, error, backup),
              ReplaceResult::Replaced);
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.mem")));
    EXPECT_EQ(TempDirectory::ReadBytes(kept), bytes);
    EXPECT_EQ(ModeOf(kept), 0640u);
    EXPECT_EQ(backups, 2);
}

} // namespace
} // namespace tolvane
