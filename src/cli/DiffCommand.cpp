#include "DiffCommand.h"

#include "CliApp.h"
#include "ImageCommands.h"
#include "Latin1Text.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/ImageDiff.h"

#include <nlohmann/json.hpp>

namespace tolvane {

namespace {

using Json = nlohmann::ordered_json;

const char* ChangeName(DiffChange change) {
    switch (change) {
    case DiffChange::Added:
        return "added";
    case DiffChange::Removed:
        return "removed";
    case DiffChange::Changed:
        break;
    }
    return "changed";
}

// Names are the unit's Latin-1; JSON is UTF-8.
Json DifferenceJson(const Difference& difference) {
    Json result{{"change", ChangeName(difference.change)}, {"item", Latin1ToUtf8(difference.item)}};
    if (difference.change == DiffChange::Changed) {
        if (!difference.field.empty()) {
            result["field"] = difference.field;
        }
        result["from"] = Latin1ToUtf8(difference.before);
        result["to"] = Latin1ToUtf8(difference.after);
    } else if (!difference.values.empty()) {
        Json values = Json::object();
        for (const DiffValue& value : difference.values) {
            values[value.name] = Latin1ToUtf8(value.value);
        }
        result["values"] = std::move(values);
    }
    return result;
}

// A file as the other commands load it, then unpacked; false when it does not load.
bool LoadUnpacked(MemoryModule& image, const std::string& path, UnitConfiguration& lists,
                  std::ostream& err) {
    if (LoadForCommand(image, path, err) != kLoadOk) {
        return false;
    }
    image.Unpack(lists);
    return true;
}

// The comparison as JSON: "equal", one array per section under its key, then
// "new_event_records".
Json DiffJson(const ImageDiff& diff) {
    Json result{{"equal", diff.ConfigurationsEqual()}};
    for (const DiffSection& section : diff.Sections()) {
        Json differences = Json::array();
        for (const Difference& difference : section.differences) {
            differences.push_back(DifferenceJson(difference));
        }
        result[section.key] = std::move(differences);
    }
    result["new_event_records"] = diff.NewEventRecords();
    return result;
}

} // namespace

int RunDiff(const std::vector<std::string>& args, UserServices& ui, std::ostream& out,
            std::ostream& err) {
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg.starts_with("--")) {
            err << "tolvane-cli diff: unknown option " << arg << '\n' << CommandUsage("diff");
            return kExitUsage;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        err << "tolvane-cli diff: two files are needed\n" << CommandUsage("diff");
        return kExitUsage;
    }
    // Both are loaded, so that one run tells of every file that does not.
    MemoryModule a(ui);
    MemoryModule b(ui);
    UnitConfiguration aLists;
    UnitConfiguration bLists;
    const bool aLoaded = LoadUnpacked(a, files[0], aLists, err);
    const bool bLoaded = LoadUnpacked(b, files[1], bLists, err);
    if (!aLoaded || !bLoaded) {
        return kExitNotLoaded;
    }
    const ImageDiff diff(a, aLists, b, bLists);
    if (json) {
        out << DiffJson(diff).dump(2) << '\n';
    } else {
        // In UTF-8 as the other data tolvane-cli writes; the window shows the unit's own bytes.
        out << Latin1ToUtf8(diff.Text());
    }
    return diff.ConfigurationsEqual() ? 0 : kExitDiffers;
}

} // namespace tolvane
