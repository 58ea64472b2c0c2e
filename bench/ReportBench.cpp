// How long the reports take on the largest module: the event log report of a log that fills every
// free page (over twenty thousand records of every type), the same log as CSV, and the system
// report.
#include "EventLogExport.h"
#include "FullLogImage.h"
#include "SilentUser.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/EventLogReport.h"
#include "reports/SystemReport.h"

#include <benchmark/benchmark.h>

namespace tolvane {
namespace {

class ReportFixture : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override {
        if (!loaded_) {
            image_.LoadBytes(FullLogImage());
            image_.Unpack(lists_);
            filter_.Reset(EventTime{2026, 12, 6, 12, 0, 0});
            loaded_ = true;
        }
    }

protected:
    SilentUser ui_;
    MemoryModule image_{ui_};
    UnitConfiguration lists_;
    EventLogFilter filter_;
    bool loaded_ = false;
};

BENCHMARK_DEFINE_F(ReportFixture, EventLogReport)(benchmark::State& state) {
    std::size_t length = 0;
    for (auto _ : state) {
        length = BuildEventLogReport(image_, filter_, lists_.directory).size();
        benchmark::DoNotOptimize(length);
    }
    state.counters["bytes"] = static_cast<double>(length);
}
BENCHMARK_REGISTER_F(ReportFixture, EventLogReport)->Unit(benchmark::kMillisecond);

// What tolvane-cli report events --format csv does once the file is loaded.
BENCHMARK_DEFINE_F(ReportFixture, EventLogCsv)(benchmark::State& state) {
    std::size_t length = 0;
    for (auto _ : state) {
        length = EventLogCsv(ReportedEvents(image_, filter_, lists_.directory)).size();
        benchmark::DoNotOptimize(length);
    }
    state.counters["bytes"] = static_cast<double>(length);
}
BENCHMARK_REGISTER_F(ReportFixture, EventLogCsv)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(ReportFixture, SystemReport)(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildSystemReport(image_, "1 (617)5550100").size());
    }
}
BENCHMARK_REGISTER_F(ReportFixture, SystemReport)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tolvane
