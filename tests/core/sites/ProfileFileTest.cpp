// Profile files: sections and key=value lines, names without regard to case, values read whole,
// struct values with their checksum, damaged or odd files and a device, writes that keep the rest
// of the file, failing writes, file modes and the one configuration directory.
#include "sites/ProfileFile.h"
#include "sites/ProfileSnapshot.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public ::testing::Test {
protected:
    static std::string ReadText(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    TempDirectory dir_;
};

TEST_F(ProfileFileTest, FindsSectionsAndKeysWithoutRegardToCase) {
    const ProfileSnapshot snapshot =
        ProfileSnapshot::FromText("[GateList]\nnumber=0300000003\n[ Installation_1 ]\n  InstName = "
                                  " Main Gate  \nPassword=\n");
    EXPECT_EQ(snapshot.ReadInt32("GATELIST", "Number"), 3);
    EXPECT_EQ(snapshot.ReadString("INSTALLATION_1", "instname"), "Main Gate");
    // A key that is there but empty is not a missing key.
    EXPECT_EQ(snapshot.ReadString("Installation_1", "Password"), "");
    EXPECT_EQ(snapshot.ReadString("Installation_1", "number"), std::nullopt);
    EXPECT_EQ(snapshot.ReadString("Installation_2", "InstName"), std::nullopt);
}

TEST_F(ProfileFileTest, StructValuesCarryTheirByteSum) {
    ProfileFile file(dir_.Path("values.ini"));
    ASSERT_TRUE(file.WriteInt32("GateList", "number", 3));
    ASSERT_TRUE(file.WriteInt32("GateList", "selected", -1));
    EXPECT_EQ(ReadText(file.Path()), "[GateList]\r\nnumber=0300000003\r\nselected=FFFFFFFFFC\r\n");
    for (const int32_t value : {0, 256, 0x12345678, INT32_MIN, INT32_MAX}) {
        ASSERT_TRUE(file.WriteInt32("Values", "v", value));
        EXPECT_EQ(file.Read().ReadInt32("values", "V"), value);
    }
    // Of another length, with a wrong sum or not hex at all: missing, never a guess.
    for (const char* text : {"030000000", "03000000030", "0300000004", "03000G0003", ""}) {
        EXPECT_EQ(ProfileSnapshot::FromText(std::string("[s]\nk=") + text).ReadInt32("s", "k"),
                  std::nullopt)
            << text;
    }
    EXPECT_EQ(ProfileSnapshot::DecodeStruct("0300000003", 2), std::nullopt);
}

TEST_F(ProfileFileTest, OddFilesLoadWithoutHarm) {
    const std::string text = "garbage without equals\r\n=no key\r\n[unclosed\r\n[\r\n"
                             "[First]\r\nkey=one\r\nKEY=two\r\nlong=" +
                             std::string(200000, 'v') +
                             "\r\n[first]\r\nkey=three\r\nother=only in the duplicate\r\n"
                             "[Last]\r\ntail=no final line end";
    const ProfileSnapshot snapshot = ProfileSnapshot::FromText(text);
    // The first of duplicate sections and keys wins; the later section is never looked into.
    EXPECT_EQ(snapshot.ReadString("first", "key"), "one");
    EXPECT_EQ(snapshot.ReadString("first", "other"), std::nullopt);
    EXPECT_EQ(snapshot.ReadString("First", "long")->size(), 200000u);
    EXPECT_EQ(snapshot.ReadString("Last", "tail"), "no final line end");
    EXPECT_EQ(snapshot.SectionNames(), (std::vector<std::string>{"First", "Last"}));
    EXPECT_EQ(snapshot.KeysOf("FIRST"), (std::vector<std::string>{"key", "long"}));
    EXPECT_EQ(snapshot.KeysOf("missing"), std::vector<std::string>{});
    // A device is no profile file, even one that never runs dry (a FIFO is the image loader's
    // test: both open through the same check).
    EXPECT_EQ(ProfileFile("/dev/zero").Read().Text(), "");
}

TEST_F(ProfileFileTest, SettingAKeyKeepsEveryOtherLine) {
    ProfileSnapshot snapshot = ProfileSnapshot::FromText(
        "; a note someone left\n[A]\nx=1\nnot a key line\n\n[B]\ny=2\n[a]\nx=9\n");
    EXPECT_TRUE(snapshot.Set("a", "X", "10"));
    EXPECT_TRUE(snapshot.Set("A", "z", "3"));
    EXPECT_TRUE(snapshot.Set("C", "w", "4"));
    EXPECT_EQ(snapshot.Text(), "; a note someone left\r\n[A]\r\nX=10\r\nnot a key line\r\nz=3\r\n"
                               "\r\n[B]\r\ny=2\r\n[a]\r\nx=9\r\n[C]\r\nw=4\r\n");
    // A line break would smuggle a line of its own into the file.
    EXPECT_FALSE(snapshot.Set("A", "x", "evil\n[GateList]"));
    EXPECT_FALSE(snapshot.Set("A", "x", "evil\r"));
    EXPECT_EQ(snapshot.ReadString("A", "x"), "10");
    // A removed key takes its duplicates along, and a key set afterwards goes where keys go.
    ProfileSnapshot removing = ProfileSnapshot::FromText("[A]\nx=1\ny=2\n X =3\n\n[B]\nx=4\n");
    removing.Remove("a", "x");
    EXPECT_TRUE(removing.Set("A", "z", "5"));
    EXPECT_EQ(removing.Text(), "[A]\r\ny=2\r\nz=5\r\n\r\n[B]\r\nx=4\r\n");

    // Written through a file beside it that must not stay around.
    const std::string path = dir_.WriteText("kept.ini", "# comment\n[ports]\nCOM1=/dev/ttyUSB0\n");
    ProfileFile file(path);
    ASSERT_TRUE(file.WriteString("Ports", "COM2", "/dev/ttyUSB1"));
    EXPECT_EQ(ReadText(path), "# comment\r\n[ports]\r\nCOM1=/dev/ttyUSB0\r\nCOM2=/dev/ttyUSB1\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Dir()), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileTest, WritesFailCleanlyAndTakeTheAskedMode) {
    dir_.WriteText("plain", "a regular file");
    for (const std::string& path : {dir_.Path("missing/gatelist.ini"), dir_.Path("plain/x.ini")}) {
        ProfileFile file(path);
        EXPECT_FALSE(file.WriteString("GateList", "x", "1")) << path;
        EXPECT_FALSE(file.WriteInt32("GateList", "number", 1)) << path;
    }
    EXPECT_FALSE(fs::exists(dir_.Path("missing")));
    // The file beside it does not outlive a write that could not take the file's place.
    fs::create_directory(dir_.Path("adir"));
    EXPECT_FALSE(ProfileFile(dir_.Path("adir")).WriteString("s", "k", "v"));
    EXPECT_FALSE(fs::exists(dir_.Path("adir.tmp")));

    // Neither the old file nor one beside it left over from a crash may lend the passwords its
    // mode.
    const std::string secret = dir_.WriteText("gatelist.ini", "[GateList]\n");
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read);
    dir_.WriteText("gatelist.ini.tmp", "");
    fs::permissions(secret + ".tmp", fs::perms::all);
    ASSERT_TRUE(ProfileFile(secret, 0600).WriteString("Installation_1", "Password", "123456"));
    EXPECT_EQ(fs::status(secret).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ProfileFileTest, ConfigDirectoryFollowsTheEnvironmentAndIsCreated) {
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"TOLVANE_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("TOLVANE_CONFIG_DIR", dir_.Path("own/deep/dir").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir_.Path("xdg").c_str(), 1);
    ::setenv("HOME", dir_.Path("home").c_str(), 1);
    const std::string own = ConfigDirectory();
    EXPECT_FALSE(fs::exists(dir_.Path("xdg")));
    ::setenv("TOLVANE_CONFIG_DIR", "", 1); // an empty setting counts as none
    const std::string xdg = ConfigDirectory();
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string home = ConfigDirectory();
    for (const auto& [name, value] : saved) {
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    EXPECT_EQ(own, dir_.Path("own/deep/dir"));
    EXPECT_EQ(xdg, dir_.Path("xdg/tolvane"));
    EXPECT_EQ(home, dir_.Path("home/.config/tolvane"));
    for (const std::string& made : {own, xdg, home}) {
        EXPECT_TRUE(fs::is_directory(made)) << made;
    }
}

} // namespace
} // namespace tolvane
