// Fuzz target for the CSV that tolvane-cli import reads: whatever the text, importing it as each
// kind of list into the demo image must not crash, and a list that import takes comes back the
// same through list and import: the text list writes from the saved image is taken again and
// leaves the image byte for byte as the first import did.
#include "FuzzTarget.h"
#include "ListCommands.h"
#include "ListKind.h"
#include "DemoImage.h"
#include "SilentUser.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"

#include <sstream>
#include <string_view>
#include <vector>

using namespace tolvane;

namespace {

// The image after the CSV was imported as kind into the demo and packed, as import saves it;
// empty when the CSV was refused.
std::vector<uint8_t> Imported(const ListKind& kind, std::string_view csv) {
    static const std::vector<uint8_t> demo = [] {
        SilentUser ui;
        return BuildDemoImage(ui);
    }();
    SilentUser ui;
    MemoryModule image(ui);
    image.LoadBytes(demo);
    UnitConfiguration unit;
    image.Unpack(unit);
    if (kind.import(kind, csv, image, unit)) {
        return {};
    }
    image.Pack(unit);
    return image.GetBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view csv(reinterpret_cast<const char*>(data), size);
    for (const char* name : {"entry-codes", "block-transmitters", "block-cards", "directory",
                             "validation-groups", "door-schedules", "time-zones", "holidays"}) {
        const ListKind& kind = *FindListKind(name);
        const std::vector<uint8_t> first = Imported(kind, csv);
        if (first.empty()) {
            continue;
        }
        SilentUser ui;
        MemoryModule saved(ui);
        Require(saved.LoadBytes(first) == 0, "an imported image loads");
        UnitConfiguration unit;
        saved.Unpack(unit);
        std::ostringstream listed;
        WriteList(kind, unit, listed);
        Require(Imported(kind, listed.str()) == first, "list gives back what import took");
    }
    return 0;
}
