// Replacing a file whole: the new bytes or the old file, never half of either; the file's own
// mode kept, a password file never more open than asked; what may not be written refused; the
// backups made only once the new bytes are safely there.
#include "support/AsOrdinaryUser.h"
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

TEST(ReplaceFileTest, NewBytesWholeWithTheModeTheFileHadOrWasGiven) {
    TempDirectory dir;
    const Bytes bytes = {1, 2, 3};
    int error = 0;
    int backups = 0;
    auto backup = [&backups] { ++backups; };

    // A new file gets what the umask allows; one of passwords exactly what was asked.
    const mode_t mask = ::umask(022);
    EXPECT_EQ(ReplaceFile(dir.Path("new.mem"), bytes, std::nullopt, error, backup),
              ReplaceResult::Replaced);
    EXPECT_EQ(ReplaceFile(dir.Path("gatelist.ini"), bytes, 0600, error), ReplaceResult::Replaced);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.Path("new.mem")), 0644u);
    EXPECT_EQ(ModeOf(dir.Path("gatelist.ini")), 0600u);
    EXPECT_EQ(TempDirectory::ReadBytes(dir.Path("new.mem")), bytes);

    // A file replaced keeps its mode; one reached through a link is replaced where it lives.
    const std::string kept = dir.WriteBytes("kept.mem", {9, 9, 9, 9, 9});
    ::chmod(kept.c_str(), 0640);
    fs::create_symlink(kept, dir.Path("link.mem"));
    EXPECT_EQ(ReplaceFile(dir.Path("link.mem"), bytes, std::nullopt, error, backup),
              ReplaceResult::Replaced);
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.mem")));
    EXPECT_EQ(TempDirectory::ReadBytes(kept), bytes);
    EXPECT_EQ(ModeOf(kept), 0640u);
    EXPECT_EQ(backups, 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Dir()), fs::directory_iterator()), 4);
}

TEST(ReplaceFileTest, WhatMayNotBeWrittenIsRefusedAndLeftAsItWas) {
    TempDirectory dir;
    const Bytes before = {7, 7};
    const Bytes one = {1};
    const std::string readOnly = dir.WriteBytes("read-only.mem", before);
    ::chmod(readOnly.c_str(), 0444);
    fs::create_directory(dir.Path("folder.mem"));
    int error = 0;
    int backups = 0;
    auto backup = [&backups] { ++backups; };
    {
        // Renaming over it would need only the folder's permission, which the user has.
        const AsOrdinaryUser ordinary({dir.Dir()});
        EXPECT_EQ(ReplaceFile(readOnly, one, std::nullopt, error, backup),
                  ReplaceResult::CannotOpen);
        EXPECT_EQ(error, EACCES);
    }
    EXPECT_EQ(ReplaceFile(dir.Path("folder.mem"), one, std::nullopt, error, backup),
              ReplaceResult::CannotOpen);
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(ReplaceFile(dir.Path("none/x.mem"), one, std::nullopt, error, backup),
              ReplaceResult::CannotOpen);
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(backups, 0);
    EXPECT_EQ(TempDirectory::ReadBytes(readOnly), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Dir()), fs::directory_iterator()), 2);
}

} // namespace
} // namespace tolvane
