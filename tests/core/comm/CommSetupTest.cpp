// The communication setup against hand-written "zemrix.ini" files: the number as two locations
// translate it, the modem chosen last time or the first by name, the choices written in struct
// form beside the rest of the file, and dialing locations stored, renamed, refused and garbled.
#include "comm/CommSetup.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tolvane {
namespace {

class CommSetupTest : public ::testing::Test {
protected:
    std::string Settings() const {
        const std::vector<uint8_t> bytes = TempDirectory::ReadBytes(dir_.Path("zemrix.ini"));
        return {bytes.begin(), bytes.end()};
    }
    std::string Number(const CommSetup& setup) const {
        return setup.DialableNumber() + "|" + setup.DisplayableNumber();
    }

    TempDirectory dir_;
    ScriptedUserServices ui_;
    // Listed by name: Alpha, Zeta; the fax-only modem never.
    ModemList modems_{{{"Zeta", "/dev/ttyACM1", 7},
                       {"Fax", "/dev/ttyS9", 8, false},
                       {"Alpha", "/dev/ttyUSB0", 0x12345678}}};
};

TEST_F(CommSetupTest, NumberFollowsTheBoxesAndTheLocation) {
    dir_.WriteText("zemrix.ini", "[locations]\nHome=1,555,,1,011,tone\n"
                                 "Office=1,212,9,,1,011,pulse\n[communication]\nlocation=home\n");
    CommSetup setup(ui_, modems_, dir_.Dir(), "555", "1234567");
    EXPECT_EQ(setup.DisplayableNumber(), "1 xxx xxx-xxxx");
    setup.Initialise();
    EXPECT_EQ(setup.LocationNames(), (std::vector<std::string>{"Home", "Office"}));
    EXPECT_EQ(setup.SelectedLocation(), 0);
    // long distance, include area -> in area 555 | from the office in area 212; the whole
    // canonical table is the dialer tests' business.
    const std::tuple<bool, bool, std::string, std::string> cases[] = {
        {true, false, "1234567|1234567", "9,15551234567|9, 1 (555) 1234567"},
        {false, true, "5551234567|555-1234567", "9,5551234567|9, 555-1234567"},
    };
    for (const auto& [longDistance, includeArea, home, office] : cases) {
        setup.SelectLocation(0);
        setup.SetLongDistance(longDistance);
        setup.SetIncludeArea(includeArea);
        EXPECT_EQ(Number(setup), home);
        EXPECT_EQ(setup.Method(), DialMethod::Tone);
        setup.SelectLocation(1);
        EXPECT_EQ(Number(setup), office);
        EXPECT_EQ(setup.Method(), DialMethod::Pulse);
    }
    // While long distance greys it out, "Dial area code" keeps its state.
    setup.SetIncludeArea(true);
    setup.SetLongDistance(true);
    setup.SetIncludeArea(false);
    setup.SetLongDistance(false);
    EXPECT_EQ(Number(setup), "9,5551234567|9, 555-1234567");
    EXPECT_TRUE(ui_.Texts().empty());
    // A number without a digit is not translated; what was shown stays.
    CommSetup empty(ui_, modems_, dir_.Dir(), "555", "");
    empty.Initialise();
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Error translating the phone number"});
    EXPECT_EQ(empty.DisplayableNumber(), "1 xxx xxx-xxxx");
}

TEST_F(CommSetupTest, ModemAndChoicesComeFromAndGoToTheSettings) {
    const std::string before = "[ports]\r\nCOM1=/dev/ttyUSB3\r\n[communication]\r\n"
                               "longdist=0100000001\r\nmodem=0700000007\r\nkeep=me\r\n";
    dir_.WriteText("zemrix.ini", before);
    CommSetup cancelled(ui_, modems_, dir_.Dir(), "555", "1234567");
    cancelled.Initialise();
    EXPECT_EQ(cancelled.ModemNames(), (std::vector<std::string>{"Alpha", "Zeta"}));
    EXPECT_EQ(cancelled.ChosenModem()->name, "Zeta");
    EXPECT_TRUE(cancelled.LongDistance());
    EXPECT_FALSE(cancelled.IncludeArea());
    cancelled.SelectModem(0);
    cancelled.SetLongDistance(false);
    EXPECT_EQ(Settings(), before); // nothing is written before "Dial"

    cancelled.SetIncludeArea(true);
    cancelled.Accept();
    EXPECT_EQ(Settings(), "[ports]\r\nCOM1=/dev/ttyUSB3\r\n[communication]\r\n"
                          "longdist=0000000000\r\nmodem=7856341214\r\nkeep=me\r\n"
                          "include_area=0100000001\r\n");
    EXPECT_EQ(cancelled.ChosenModem()->device, "/dev/ttyUSB0");

    // The modem chosen last time is gone: the first by name.
    dir_.WriteText("zemrix.ini", "[communication]\nmodem=6300000063\n");
    CommSetup gone(ui_, modems_, dir_.Dir(), "555", "1234567");
    gone.Initialise();
    EXPECT_EQ(gone.SelectedModem(), 0);
    EXPECT_EQ(gone.ChosenModem()->name, "Alpha");
    EXPECT_TRUE(ui_.Texts().empty());

    const ModemList none;
    CommSetup without(ui_, none, dir_.Dir(), "555", "1234567");
    without.Initialise();
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Could not find any modems"});
    EXPECT_EQ(ui_.Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(without.ChosenModem(), nullptr);
    EXPECT_EQ(Number(without), "1234567|1234567"); // dialing goes on to fail at the line
}

TEST_F(CommSetupTest, LocationsAreStoredRenamedRefusedAndSurviveGarbage) {
    CommSetup fresh(ui_, modems_, dir_.Dir(), "212", "1234567");
    fresh.Initialise();
    EXPECT_EQ(fresh.LocationNames(), std::vector<std::string>{"Default Location"});
    EXPECT_EQ(fresh.CurrentLocation().internationalPrefix, "011");

    dir_.WriteText("zemrix.ini",
                   "[communication]\nlocation=Home\nlongdist=0100000001\n[locations]\n"
                   "Home=1,555,,1,011,tone\nBad=1,555\nWorse=1,555,,1,011,morse\n"
                   "Pause=1,212,9,,,1,011,pulse\n");
    CommSetup setup(ui_, modems_, dir_.Dir(), "212", "1234567");
    setup.Initialise();
    EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"Error getting location information"});
    EXPECT_EQ(setup.LocationNames(), (std::vector<std::string>{"Home", "Pause"}));
    EXPECT_EQ(Number(setup), "12121234567|1 (212) 1234567");
    ui_.Forget();

    DialingLocation edited = setup.CurrentLocation();
    for (const char* refused : {"", "PAUSE", "a=b", "a,b", "[x]", " Cabin"}) {
        edited.name = refused;
        EXPECT_FALSE(setup.ChangeCurrentLocation(edited)) << refused;
    }
    edited.name = "Cabin";
    edited.longDistancePrefix = "1,";
    EXPECT_FALSE(setup.ChangeCurrentLocation(edited));
    EXPECT_EQ(ui_.Shown().size(), 7u);
    EXPECT_EQ(ui_.Shown()[1].text, "There is already a location named \"Pause\".");

    edited.longDistancePrefix = "1";
    edited.outsideLinePrefix = "8";
    ASSERT_TRUE(setup.ChangeCurrentLocation(edited));
    EXPECT_EQ(setup.LocationNames(), (std::vector<std::string>{"Cabin", "Pause"}));
    EXPECT_EQ(Number(setup), "812121234567|8 1 (212) 1234567");
    // The garbled values stay for the user to mend; the old name goes.
    EXPECT_EQ(Settings(), "[communication]\r\nlocation=Cabin\r\nlongdist=0100000001\r\n"
                          "[locations]\r\nBad=1,555\r\n"
                          "Worse=1,555,,1,011,morse\r\nPause=1,212,9,,,1,011,pulse\r\n"
                          "Cabin=1,555,8,1,011,tone\r\n");
    DialingLocations loaded;
    EXPECT_FALSE(loaded.Load(dir_.Dir()));
    EXPECT_EQ(loaded.All()[loaded.Current()].name, "Cabin");
    EXPECT_EQ(loaded.All()[1].outsideLinePrefix, "9,,");
}

} // namespace
} // namespace tolvane
