// tolvane-cli download and upload against a simulated unit on a pseudo-terminal, through the real
// session, thread and XModem: the file is the unit's module byte for byte and never a module that
// fails the checks, the old file is kept as a backup, an upload lands in the unit whole, every way
// a session fails leaves the file alone and says the transfer failed, and a port that will not open
// is named as the user gave it. tolvane-cli modems lists the modems found on simulated lines.
#include "CliApp.h"
#include "CommCommands.h"
#include "DemoImage.h"
#include "FailingWrite.h"
#include "ImageCommands.h"
#include "ImageBuilder.h"
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"
#include "comm/XModemPacket.h"
#include "image/SystemAreaLayout.h"
#include "support/AsOrdinaryUser.h"
#include "support/ModemOnLine.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"
#include "support/UnitOnLine.h"

#include "SimulatedModem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = UnitOnLine::kPassword;
constexpr const char* kNotDownloaded = "Data has NOT been downloaded";

class CommCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedUserServices ui;
        demo_ = BuildDemoImage(ui);
    }

    int Run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err);
        err_ = err.str();
        return status;
    }
    // A download or upload at the unit's pace; a unit that never answers fails the same way at
    // any pace, so those take a finer scale and spend less time on the ten first-packet waits.
    int Transfer(const char* command, const UnitOnLine& unit, const std::string& file,
                 const char* password = kPassword, const char* timeScale = "20") {
        return Run({command, "--port", unit.Device(), "--password", password, "--time-scale",
                    timeScale, file});
    }

    bool Logged(const std::string& text) const { return err_.find(text) != std::string::npos; }

    TempDirectory dir_;
    std::vector<uint8_t> demo_;
    std::string err_;
};

// The largest module is 256 packets, so the packet number goes round from 255 to 0 for the last.
TEST_F(CommCommandsTest, DownloadWritesTheUnitsModuleAndKeepsTheFileBeforeAsBackup) {
    const std::vector<uint8_t> largest = ImageBuilder(0x40).Bytes();
    ASSERT_EQ(largest.size(), 256 * kPacketDataSize);
    UnitOnLine unit(largest);
    const std::string file = dir_.Path("unit.mem");
    ASSERT_EQ(Transfer("download", unit, file), 0) << err_;
    EXPECT_EQ(TempDirectory::ReadBytes(file), largest);
    EXPECT_TRUE(Logged("Sucessfully received packet 256\n"));
    // The caption says "Canceling..." only when there was something to cancel.
    EXPECT_TRUE(err_.ends_with("Communication sucessfully complete\n[Complete]\n")) << err_;
    EXPECT_FALSE(Logged("[Canceling...]"));
    EXPECT_FALSE(fs::exists(dir_.Path("unit.001")));

    // A second session on the same line replaces whatever the file held, which moves to the
    // first backup.
    const std::vector<uint8_t> before = {'o', 'l', 'd'};
    dir_.WriteBytes("unit.mem", before);
    ASSERT_EQ(Transfer("download", unit, file), 0) << err_;
    EXPECT_EQ(TempDirectory::ReadBytes(file), largest);
    EXPECT_EQ(TempDirectory::ReadBytes(dir_.Path("unit.001")), before);

    // A module that fails the checks is neither written nor the cause of a backup.
    UnitOnLine old(ImageBuilder(0x70).Firmware('4', '9', '9').Bytes());
    EXPECT_EQ(Transfer("download", old, file), 2);
    EXPECT_TRUE(Logged("The firmware version 4.99 is not supported")) << err_;
    EXPECT_EQ(TempDirectory::ReadBytes(file), largest);
    EXPECT_FALSE(fs::exists(dir_.Path("unit.002")));

    // A full disk: said so, the file as it was, no backup rotated, and no success.
    UnitOnLine other(demo_);
    failNextFileWrite = true;
    EXPECT_EQ(Transfer("download", other, file), kExitSaveFailed);
    EXPECT_FALSE(failNextFileWrite);
    EXPECT_TRUE(Logged("Error writing file\n" + file + ": No space left on device\n")) << err_;
    EXPECT_EQ(TempDirectory::ReadBytes(file), largest);
    EXPECT_FALSE(fs::exists(dir_.Path("unit.002")));
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_.Dir())) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

TEST_F(CommCommandsTest, UploadSendsOnlyAModuleThatLoadsAndTheUnitKeepsItWhole) {
    UnitOnLine unit(demo_);

    // Not a module: refused before a single byte goes to the unit.
    const std::string junk = dir_.WriteBytes("junk.mem", std::vector<uint8_t>(5000, 0x55));
    EXPECT_EQ(Run({"upload", "--port", unit.Device(), "--password", kPassword, junk}), 2);
    EXPECT_TRUE(Logged("Not a valid memory module file")) << err_;
    EXPECT_TRUE(unit.Unit().Received().empty());

    std::vector<uint8_t> edited = demo_;
    const std::string name = "EDITED FOR UPLOAD       ";
    std::copy(name.begin(), name.end(), edited.begin() + layout::kInstallationName);
    const std::string file = dir_.WriteBytes("edited.mem", edited);
    ASSERT_EQ(Transfer("upload", unit, file), 0) << err_;
    EXPECT_EQ(unit.Unit().Image(), edited);
    EXPECT_TRUE(Logged("Upload Successful  --  All packets sent"));
}

struct FaultCase {
    const char* name;
    std::set<SimFault> faults;
    const char* password;
    const char* timeScale;
    // The line the receiver logs about it; empty when the download fails.
    const char* recovery;
};

class CommFaultTest : public CommCommandsTest, public ::testing::WithParamInterface<FaultCase> {};

// A spoilt or repeated packet is asked for again or passed over, and the file is whole. A packet
// cut short cannot be recovered: the receiver reads the sender's repeat into the short one, takes
// the rest of it for stray headers and gives up after ten errors. Cancel, silence and a wrong
// password end the session. Whichever way it fails, the file is not written.
TEST_P(CommFaultTest, DownloadRecoversOrFailsWithoutWritingTheFile) {
    const FaultCase& fault = GetParam();
    UnitOnLine unit(demo_, fault.faults);
    const std::string file = dir_.Path("unit.mem");
    const int status = Transfer("download", unit, file, fault.password, fault.timeScale);
    if (*fault.recovery != '\0') {
        ASSERT_EQ(status, 0) << err_;
        EXPECT_TRUE(Logged(fault.recovery)) << err_;
        EXPECT_EQ(TempDirectory::ReadBytes(file), demo_);
    } else {
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(Logged("ERROR:  Transfer failed -- the memory module was not transferred\n"
                           "[Failed]\n"))
            << err_;
        EXPECT_TRUE(Logged(kNotDownloaded)) << err_;
        EXPECT_FALSE(fs::exists(file));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CommFaultTest,
    ::testing::Values(
        FaultCase{"crc",
                  {SimFault::CrcError},
                  kPassword,
                  "20",
                  "Packed CRC error; performing packet retry"},
        FaultCase{
            "duplicate", {SimFault::DuplicatePacket}, kPassword, "20", "Received the same packet"},
        FaultCase{"drop",
                  {SimFault::DroppedPacket},
                  kPassword,
                  "20",
                  "Packed CRC error; performing packet retry"},
        FaultCase{"cancel", {SimFault::Cancel}, kPassword, "20", ""},
        FaultCase{"silence", {SimFault::Silence}, kPassword, "100", ""},
        FaultCase{"wrong_password", {}, "135791", "100", ""}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(CommCommandsTest, BadUsageExits64WithoutTouchingAnyLine) {
    const std::string file = dir_.Path("unit.mem");
    const std::vector<std::vector<std::string>> usages = {
        {"download", "--password", kPassword, file},
        {"download", "--port", "/dev/null", file},
        {"upload", "--port", "/dev/null", file},
        {"download", "--port", "/dev/null", "--password", kPassword},
        {"download", "--port", "/dev/null", "--password", "1234567", file},
        {"upload", "--port", "/dev/null", "--password", kPassword, "--time-scale", "0", file},
        {"upload", "--port", "/dev/null", "--time-scale", "fast", file},
        {"upload", "--port", "/dev/null", file, file},
        {"download", "--port", "/dev/null", "--speed", "9600", file},
        {"simulate", "--fault", "thunder"},
        {"simulate", "--baud", "0"},
        {"simulate", "--answer", "busy"},
        {"simulate", "--modem", "--answer", "engaged"},
        {"modems", "--all"},
        {"download", "--modem", "Desk", "--password", kPassword, file},
        {"download", "--port", "/dev/null", "--dial", "5550100", "--password", kPassword, file},
        {"upload", "--port", "/dev/null", "--modem", "Desk", "--dial", "1", "--password", "1",
         file},
    };
    for (const std::vector<std::string>& args : usages) {
        EXPECT_EQ(Run(args), 64) << args[0] << " " << args[args.size() - 1];
        EXPECT_TRUE(Logged("usage: tolvane-cli " + args[0])) << err_;
    }
    EXPECT_FALSE(fs::exists(file));
}

// A port that will not open is named as the user gave it: a device path as such, COM1 to COM4
// with the device they stand for.
TEST_F(CommCommandsTest, APortThatWillNotOpenIsNamedAsGiven) {
    const std::string file = dir_.Path("unit.mem");
    const std::string missing = dir_.Path("ttyUSB7");
    EXPECT_EQ(Run({"download", "--port", missing, "--password", kPassword, file}), 1);
    EXPECT_TRUE(Logged("Error in opening " + missing + "\n")) << err_;
    EXPECT_FALSE(Logged("COM1")) << err_;

    std::ofstream(ConfigDirectory() + "/zemrix.ini") << "[ports]\nCOM3=" << missing << "\n";
    EXPECT_EQ(Run({"upload", "--port", "COM3", "--password", kPassword,
                   dir_.WriteBytes("unit.mem", demo_)}),
              1);
    EXPECT_TRUE(Logged("Error in opening COM3\n" + missing + ": ")) << err_;
    EXPECT_TRUE(Logged("Data has NOT been uploaded")) << err_;
    fs::remove(ConfigDirectory() + "/zemrix.ini");
}

// One line per device found, configured ones first, the probe reaching only the test's modem;
// the two ways of finding none have their own messages.
TEST_F(CommCommandsTest, ModemsPrintsEveryDeviceFoundAndWhetherItPlacesDataCalls) {
    const std::string settings = ConfigDirectory() + "/zemrix.ini";
    const std::vector<std::string> probe = {dir_.Path("ttyACM*")};
    const auto modems = [&](std::string& out) {
        std::ostringstream printed;
        std::ostringstream err;
        const int status = RunModems({}, printed, err, probe);
        out = printed.str();
        err_ = err.str();
        return status;
    };
    std::string out;
    EXPECT_EQ(modems(out), 1);
    EXPECT_EQ(out + err_, "You have no telephony devices (modems) configured\n");

    const ModemOnLine faxOnly({.dataCalls = false}, dir_.Path("ttyACM0"));
    std::ofstream(settings) << "[modems]\nDesk=/nonexistent/modem\n";
    ASSERT_EQ(modems(out), 0) << err_;
    char identifier[9];
    std::snprintf(identifier, sizeof identifier, "%08X",
                  ModemList::IdentifierFor(dir_.Path("ttyACM0")));
    EXPECT_EQ(out, "3B681870\tDesk\t/nonexistent/modem\tdata\n" + std::string(identifier) + "\t" +
                       SimulatedModem::kModelName + "\t" + dir_.Path("ttyACM0") +
                       "\tno data calls\n");

    ASSERT_EQ(::chmod(settings.c_str(), 0), 0);
    {
        const fs::path config = ConfigDirectory();
        const AsOrdinaryUser ordinary(
            {config.parent_path().parent_path(), config.parent_path(), config});
        EXPECT_EQ(modems(out), 1);
    }
    EXPECT_EQ(out + err_, "Error initializing telephony resources\n");
    fs::remove(settings);
}

// Through a modem: named in the settings or given as a device, the number dialed as typed, the
// call's progress on standard error, and exit 0 only when the transfer succeeded. Each way a call
// fails says why and leaves no file.
TEST_F(CommCommandsTest, ModemTransfersDialAsTypedAndFailedCallsSayWhy) {
    SimulatedModemOptions options;
    options.unit.image = demo_;
    const ModemOnLine modem(options);
    const std::string settings = ConfigDirectory() + "/zemrix.ini";
    std::ofstream(settings) << "[modems]\nDesk=" << modem.Device() << "\n";
    const std::string file = dir_.Path("dialed.mem");
    const auto call = [&](const char* command, const std::string& device) {
        return Run({command, "--modem", device, "--dial", "9,5550100", "--password", kPassword,
                    "--time-scale", "20", file});
    };
    ASSERT_EQ(call("download", "desk"), 0) << err_;
    EXPECT_EQ(TempDirectory::ReadBytes(file), demo_);
    EXPECT_TRUE(Logged("Opened line device desk using TAPI version 1.4\nDialing 9,5550100\n"
                       "Got a dialtone\nNow dialing\nWaiting for answer\nCall connected!\n"
                       "[Connected]\nOpened communications port\n"))
        << err_;
    EXPECT_TRUE(Logged("Communication sucessfully complete\n[Complete]\nLine is now idle\n"
                       "Call has been dropped\nLine has been closed\n"))
        << err_;

    const std::vector<uint8_t> other = ImageBuilder(0x70).Bytes();
    dir_.WriteBytes("dialed.mem", other);
    ASSERT_EQ(call("upload", modem.Device()), 0) << err_;
    EXPECT_EQ(modem.Modem().UnitImage(), other);
    EXPECT_TRUE(Logged("Opened line device " + modem.Device() + " using TAPI version 1.4\n"));
    const std::vector<std::string> lines = modem.Modem().ReceivedLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ATDT9,5550100"), 2);
    fs::remove(file);

    // A call that never came about, a modem that refuses to be set up, a line that will not
    // open: each says why, and leaves no file.
    SimulatedModemOptions noTone;
    noTone.answer = DialAnswer::NoDialtone;
    SimulatedModemOptions refusing;
    refusing.setupFails = true;
    const ModemOnLine toneless(noTone);
    const ModemOnLine refuser(refusing);
    const std::string missing = dir_.Path("no-modem");
    const std::pair<std::string, std::string> failures[] = {
        {toneless.Device(), "Dialing 9,5550100\nLine was disconnected\nLine is now idle\n"
                            "Call has been dropped\nLine has been closed\n"},
        {refuser.Device(), "ERROR:  The modem refused \"ATZ\" with ERROR.\n"
                           "ERROR:  Call could not connect\nThe line has been closed\n"},
        {missing, "ERROR:  Could not open the line device:  " + missing + "\n"},
    };
    for (const auto& [device, log] : failures) {
        EXPECT_EQ(call("download", device), 1);
        EXPECT_TRUE(Logged(log) && err_.ends_with(std::string(kNotDownloaded) + "\n")) << err_;
        EXPECT_FALSE(fs::exists(file));
    }
    fs::remove(settings);
}

// "YYYY-MM-DD-HHMMSS.mem", the name of a backup.
bool IsStampName(const std::string& name) {
    const std::string shape = "dddd-dd-dd-dddddd.mem";
    return name.size() == shape.size() &&
           std::equal(shape.begin(), shape.end(), name.begin(), [](char want, char got) {
               return want == 'd' ? got >= '0' && got <= '9' : want == got;
           });
}

// The words of a line of the table, split at blanks.
std::vector<std::string> Words(const std::string& line) {
    std::istringstream words(line);
    return {std::istream_iterator<std::string>(words), {}};
}

// Every listed unit in turn through the port kept with it, each into a file of its own: a unit
// with no port fails alone, with its reason in the table, and the run says so by its status.
TEST_F(CommCommandsTest, BackupAllFetchesEachUnitAndAUnitThatFailsCostsOnlyItsOwnCopy) {
    const std::vector<uint8_t> other = ImageBuilder(0x70).Bytes();
    const UnitOnLine north(demo_);
    const UnitOnLine south(other);
    std::ofstream(ConfigDirectory() + "/zemrix.ini")
        << "[ports]\nCOM1=" << north.Device() << "\nCOM2=" << south.Device() << "\n";
    ProfileFile gateList(ConfigDirectory() + "/gatelist.ini", 0600);
    ScriptedUserServices quiet;
    InstallationList{0,
                     {{"North/Gate", kPassword, "/nowhere/north.mem", "1", "", "", "COM1"},
                      {"Loading Bay", kPassword, "/nowhere/bay.mem", "1", "", ""},
                      {"Old Gate", "", "/nowhere/old.mem", "1", "", "", "COM1"},
                      {"South", kPassword, "/nowhere/south.mem", "1", "", "", "COM2"}}}
        .SaveInstallationList(gateList, quiet);
    const std::string backups = dir_.Path("backups");
    std::ostringstream table;
    std::ostringstream log;
    EXPECT_EQ(
        RunCli({"backup-all", "--dir", backups, "--only", "North/Gate", "--only", "Loading Bay",
                "--only", "South", "--only", "Nowhere", "--only", "Old Gate", "--time-scale", "20"},
               table, log),
        1);
    const auto copies = [&](const std::string& folder) {
        std::vector<std::vector<uint8_t>> found;
        for (const auto& entry : fs::directory_iterator(fs::path(backups) / folder)) {
            EXPECT_TRUE(IsStampName(entry.path().filename().string())) << entry.path();
            found.push_back(TempDirectory::ReadBytes(entry.path().string()));
        }
        return found;
    };
    EXPECT_EQ(copies("North_Gate"), std::vector<std::vector<uint8_t>>{demo_});
    EXPECT_EQ(copies("South"), std::vector<std::vector<uint8_t>>{other});
    EXPECT_FALSE(fs::exists(fs::path(backups) / "Loading Bay"));

    std::istringstream lines(table.str());
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 6u) << table.str();
    EXPECT_EQ(Words(rows[0]),
              (std::vector<std::string>{"installation", "result", "size", "time", "file"}));
    const std::vector<std::string> first = Words(rows[1]);
    ASSERT_EQ(first.size(), 6u) << rows[1];
    EXPECT_EQ(first[0] + "|" + first[1] + "|" + first[2] + "|" + first[4],
              "North/Gate|ok|" + std::to_string(demo_.size()) + "|s");
    const std::size_t slash = first[5].rfind('/');
    EXPECT_EQ(first[5].substr(0, slash), backups + "/North_Gate");
    EXPECT_TRUE(IsStampName(first[5].substr(slash + 1))) << rows[1];
    EXPECT_TRUE(rows[2].starts_with("Loading Bay") &&
                rows[2].find("failed: no port is kept for it") != std::string::npos)
        << rows[2];
    EXPECT_TRUE(rows[3].starts_with("Old Gate") &&
                rows[3].find("failed: no password is kept for it") != std::string::npos);
    EXPECT_TRUE(rows[4].starts_with("South ") && rows[4].find(" ok ") != std::string::npos);
    EXPECT_TRUE(rows[5].starts_with("Nowhere ") &&
                rows[5].find("failed: not in gatelist.ini") != std::string::npos);

    // A module that came but has nowhere to go is that unit's failure too.
    const std::string blocked = dir_.WriteBytes("blocked", {});
    std::ostringstream again;
    EXPECT_EQ(RunCli({"backup-all", "--dir", blocked, "--only", "South", "--time-scale", "20"},
                     again, log),
              1);
    EXPECT_NE(again.str().find("failed: cannot make " + blocked + "/South"), std::string::npos)
        << again.str();
    fs::remove(ConfigDirectory() + "/zemrix.ini");
    fs::remove(ConfigDirectory() + "/gatelist.ini");
}

} // namespace
} // namespace tolvane
