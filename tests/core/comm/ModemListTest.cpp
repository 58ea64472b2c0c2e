// The modem list against simulated modems on pseudo-terminals, reached through links in a private
// directory that the probe patterns match: the configured modems first, kept even when they
// cannot be reached; the probed ones named by the modem; a fax-only modem found but not offered;
// a unit's direct line never sent a command; the offer sorted by name; and the settings file that
// cannot be read.
#include "comm/ModemList.h"
#include "support/AsOrdinaryUser.h"
#include "support/ModemOnLine.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tolvane {
namespace {

// 32-bit FNV-1a of "/nonexistent/modem", worked out by hand.
constexpr uint32_t kMissingModemIdentifier = 0x3B681870;

const ChannelTimeouts kTimeouts = ChannelTimeouts().ScaledDown(ModemOnLine::kTimeScale);

std::string Describe(const ModemInfo& modem) {
    return modem.name + "|" + modem.device + "|" + (modem.dataCalls ? "data" : "no data");
}

TEST(ModemListTest, FindsConfiguredAndProbedModemsAndOffersThoseThatPlaceDataCalls) {
    TempDirectory dir;
    // Configured by its own device and matched by the probe through a link: asked once only.
    const ModemOnLine configured({}, dir.Path("ttyACM2"));
    const ModemOnLine probed({}, dir.Path("ttyACM0"));
    const ModemOnLine faxOnly({.dataCalls = false}, dir.Path("ttyACM1"));
    const ModemOnLine unitLine({}, dir.Path("ttyUSB0"));
    dir.WriteText("ttyUSB1", "not a serial device");
    dir.WriteText("zemrix.ini", "[ports]\nCOM2=" + unitLine.Device() +
                                    "\n[modems]\nZeta = " + configured.Device() +
                                    "\nalpha=/nonexistent/modem\nUnit=" + dir.Path("ttyUSB0") +
                                    "\n");

    ModemList modems;
    ASSERT_EQ(modems.Find(dir.Dir(), kTimeouts, {dir.Path("ttyACM*"), dir.Path("ttyUSB*")}),
              ModemList::Status::Ok);
    const std::vector<ModemInfo>& found = modems.Devices();
    ASSERT_EQ(found.size(), 5u);
    const std::string model = SimulatedModem::kModelName;
    EXPECT_EQ(Describe(found[0]), "Zeta|" + configured.Device() + "|data");
    EXPECT_EQ(Describe(found[1]), "alpha|/nonexistent/modem|data");
    // Named as a modem, but a unit's direct line too: listed, never asked.
    EXPECT_EQ(Describe(found[2]), "Unit|" + dir.Path("ttyUSB0") + "|data");
    EXPECT_EQ(Describe(found[3]), model + "|" + dir.Path("ttyACM0") + "|data");
    EXPECT_EQ(Describe(found[4]), model + "|" + dir.Path("ttyACM1") + "|no data");
    EXPECT_EQ(found[1].identifier, kMissingModemIdentifier);
    EXPECT_EQ(found[3].identifier, ModemList::IdentifierFor(dir.Path("ttyACM0")));

    EXPECT_EQ(configured.Modem().ReceivedLines(), (std::vector<std::string>{"AT", "AT+FCLASS=?"}));
    EXPECT_EQ(probed.Modem().ReceivedLines(),
              (std::vector<std::string>{"AT", "AT+GMM", "AT+FCLASS=?"}));
    EXPECT_TRUE(unitLine.Modem().ReceivedLines().empty());

    // Without regard to case, then by identifier.
    EXPECT_EQ(modems.Listed(), (std::vector<std::size_t>{1, 3, 2, 0}));
    const ModemList twins(
        {{"b", "/dev/a", 5, true}, {"B", "/dev/b", 3, true}, {"a", "/dev/c", 9, false}});
    EXPECT_EQ(twins.Listed(), (std::vector<std::size_t>{1, 0}));
}

TEST(ModemListTest, NothingFoundOrSettingsUnreadable) {
    TempDirectory dir;
    ModemList modems;
    dir.WriteText("zemrix.ini", "[ports]\nCOM1=/nonexistent/port\n");
    EXPECT_EQ(modems.Find(dir.Dir(), kTimeouts, {dir.Path("ttyACM*")}),
              ModemList::Status::NoDevices);

    // Unreadable, the file might name a unit's line among the devices probed.
    const std::string settings = dir.WriteText("zemrix.ini", "[modems]\nDesk=/nonexistent/modem\n");
    ASSERT_EQ(::chmod(settings.c_str(), 0), 0);
    const AsOrdinaryUser ordinary({dir.Dir()});
    EXPECT_EQ(modems.Find(dir.Dir(), kTimeouts, {}), ModemList::Status::Unusable);
    EXPECT_TRUE(modems.Devices().empty());
}

} // namespace
} // namespace tolvane
