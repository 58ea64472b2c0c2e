// Fuzz target for memory module images: whatever the bytes, loading, unpacking, building every
// report and packing must not crash, and for an input that loads these hold (a broken one aborts):
// - a packed image always loads;
// - packing takes no chain's pages: when no page of the loaded image has two owners (no page that
//   two chains walk, none that a chain walks and the free map calls free; see FindSharedPages),
//   none has after packing;
// - a second pack changes nothing: the packed bytes, loaded, unpacked and packed again, come out
//   byte for byte the same.
#include "FuzzTarget.h"
#include "SilentUser.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "image/PageClaims.h"
#include "reports/EventLogFilter.h"
#include "reports/ReportBuilder.h"
#include "reports/ReportKind.h"

#include <span>
#include <vector>

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilentUser ui;
    MemoryModule image(ui);
    const bool loaded = image.LoadBytes(std::span(data, size)) == kLoadOk;
    const std::vector<SharedPage> shared = FindSharedPages(image);
    DescribeSharedPages(shared);
    UnitConfiguration unit;
    image.Unpack(unit);
    const EventLogFilter everything;
    for (int kind = kEventLogReport; kind <= kBlockCardReport; ++kind) {
        BuildReport(kind, image, unit, everything, "(617) 555-0100");
    }
    image.Pack(unit);
    if (!loaded) {
        return 0;
    }

    const std::vector<uint8_t> packed = image.GetBytes();
    MemoryModule again(ui);
    Require(again.LoadBytes(packed) == kLoadOk, "a packed image always loads");
    Require(!shared.empty() || FindSharedPages(again).empty(), "packing takes no chain's pages");
    UnitConfiguration second;
    again.Unpack(second);
    again.Pack(second);
    Require(again.GetBytes() == packed, "a second pack changes nothing");
    return 0;
}
