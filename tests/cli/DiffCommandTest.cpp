// tolvane-cli diff: the text and the JSON of the same comparison, the exit statuses and the words
// it refuses. What each list compares is the core comparison tests' business; here one system
// field and one entry code go through.
#include "CliFixture.h"
#include "config/EntryCodeEditor.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tolvane {
namespace {

using DiffCommandTest = CliFixture;
using Json = nlohmann::json;

TEST_F(DiffCommandTest, TextAndJsonTellTheSameDifferencesAndTheExitSaysWhetherThereAreAny) {
    EXPECT_EQ(Run({"diff", demo_, demo_}), 0);
    EXPECT_EQ(out_ + err_, "");

    // The demo renamed and without its first entry code; names come out in UTF-8.
    ScriptedUserServices ui;
    MemoryModule image(ui);
    ASSERT_EQ(image.Load(demo_), kLoadOk);
    UnitConfiguration unit;
    image.Unpack(unit);
    const EntryCode dropped = unit.entryCodes.front();
    unit.entryCodes.erase(unit.entryCodes.begin());
    image.Pack(unit);
    image.GetSystemArea()[layout::kInstallationName] = 0xC9; // É in the unit's Latin-1
    const std::string other = dir_.WriteBytes("other.mem", image.GetBytes());
    const std::string code = "code " + EntryCodeEditor::CodeText(dropped);
    const std::string group = std::to_string(dropped.validationGroup);

    EXPECT_EQ(Run({"diff", demo_, other}), 1);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(out_, "System\n"
                    "  changed Installation: Harbour View Apartments -> \xC3\x89"
                    "arbour View Apartments\n"
                    "Entry codes\n"
                    "  removed " +
                        code + ": group " + group + ", active yes\n");

    EXPECT_EQ(Run({"diff", other, "--json", demo_}), 1);
    const Json json = Json::parse(out_);
    std::string keys;
    for (const auto& [key, value] : json.items()) {
        keys += key + (value.is_array() && value.empty() ? "=[] " : " ");
    }
    // nlohmann::json lists its keys sorted.
    EXPECT_EQ(keys, "block_cards=[] block_transmitters=[] directory=[] door_schedules=[] "
                    "entry_codes equal holidays=[] new_event_records system time_zones=[] "
                    "validation_groups=[] ");
    EXPECT_EQ(json["equal"], false);
    EXPECT_EQ(json["new_event_records"], 0);
    EXPECT_EQ(json["system"],
              Json::parse(R"([{"change": "changed", "item": "Installation",
        "from": ")"
                          "\xC3\x89"
                          R"(arbour View Apartments", "to": "Harbour View Apartments"}])"));
    EXPECT_EQ(json["entry_codes"],
              Json::array({{{"change", "added"},
                            {"item", code},
                            {"values", {{"group", group}, {"active", "yes"}}}}}));
}

TEST_F(DiffCommandTest, AFileThatDoesNotLoadIsTwoWithTheLoadersWordsAndBadWordsAreUsage) {
    const std::string junk = dir_.WriteBytes("junk.mem", {1, 2, 3});
    const std::string missing = dir_.Path("missing.mem");
    EXPECT_EQ(Run({"diff", missing, junk}), 2);
    EXPECT_EQ(out_, "");
    EXPECT_TRUE(err_.starts_with("tolvane-cli: cannot open " + missing +
                                 ": No such file or directory\nNot a valid memory module file\n"))
        << err_;

    for (const std::vector<std::string>& words : {std::vector<std::string>{"diff", demo_},
                                                  {"diff", demo_, demo_, demo_},
                                                  {"diff", demo_, demo_, "--brief"}}) {
        EXPECT_EQ(Run(words), 64);
        EXPECT_TRUE(SaidMisuse()) << err_;
    }
}

} // namespace
} // namespace tolvane
