// How long comparing two of the largest modules takes: both 256 KB with transaction logs that fill
// every free page, the second with a few settings and tables changed and every tenth record of its
// first log pages rewritten. Timed from two loaded images to the text, unpacking included, as
// tolvane-cli diff and "Compare With..." do it.
#include "FullLogImage.h"
#include "SilentUser.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/ImageDiff.h"

#include <benchmark/benchmark.h>

#include <climits>

namespace tolvane {
namespace {

using namespace layout;

class DiffFixture : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override {
        if (loaded_) {
            return;
        }
        const std::vector<uint8_t> bytes = FullLogImage();
        a_.LoadBytes(bytes);
        b_.LoadBytes(bytes);
        const auto system = b_.GetSystemArea();
        system[kInstallationName] = 'W';
        system[kValidationGroups + kValidationGroupSize * 3] = 7;
        system[kTimeZones + kTimeZoneSize * 2 + 4] = 8;
        const std::vector<int> log = b_.WalkChain(kEventLogChain, INT_MAX).pages;
        for (std::size_t p = 0; p < 10 && p < log.size(); ++p) {
            const auto page = b_.GetPage(log[p]);
            for (std::size_t slot = 0; slot < kEventSlotsPerPage; slot += 10) {
                page[kPageHeaderSize + kEventRecordSize * slot + 4] ^= 0x10;
            }
        }
        loaded_ = true;
    }

protected:
    SilentUser ui_;
    MemoryModule a_{ui_};
    MemoryModule b_{ui_};
    bool loaded_ = false;
};

BENCHMARK_DEFINE_F(DiffFixture, FullLogImages)(benchmark::State& state) {
    std::size_t newRecords = 0;
    for (auto _ : state) {
        UnitConfiguration aLists;
        UnitConfiguration bLists;
        a_.Unpack(aLists);
        b_.Unpack(bLists);
        const ImageDiff diff(a_, aLists, b_, bLists);
        benchmark::DoNotOptimize(diff.Text().size());
        newRecords = diff.NewEventRecords();
    }
    state.counters["new_records"] = static_cast<double>(newRecords);
}
BENCHMARK_REGISTER_F(DiffFixture, FullLogImages)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tolvane
