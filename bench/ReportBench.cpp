// How long the reports take on the largest module: the event log report of a log that fills every
// free page (over twenty thousand records of every type) and the system report.
#include "ImageBuilder.h"
#include "document/UnitConfiguration.h"
#include "document/UserServices.h"
#include "image/MemoryModule.h"
#include "reports/EventLogFilter.h"
#include "reports/EventLogReport.h"
#include "reports/SystemReport.h"

#include <benchmark/benchmark.h>

namespace tolvane {
namespace {

class SilentUser : public UserServices {
public:
    MessageAnswer ShowMessage(const std::string&, MessageIcon, MessageButtons) override {
        return MessageAnswer::Ok;
    }
};

std::vector<uint8_t> FullLogImage() {
    ImageBuilder builder(0x40);
    builder.Name(layout::kChannelNames, "Main Gate");
    builder.AddDirectory(1, 21);
    builder.NamePageText(0, "BENCH TOWERS");
    const int logPages = builder.PageCount() - 2;
    builder.AddEventLog(logPages);
    uint32_t state = 7;
    auto next = [&state](int bound) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(bound));
    };
    for (int i = 0; i < logPages * layout::kEventSlotsPerPage; ++i) {
        const uint8_t type = static_cast<uint8_t>(1 + i % 15);
        const uint8_t id[4] = {static_cast<uint8_t>(next(256)), static_cast<uint8_t>(next(256)),
                               0x12, 0x34};
        const EventStamp stamp{2025 + next(2), 1 + next(12), 1 + next(28),
                               next(24),       next(60),     4 * next(15)};
        builder.AddEvent(type, stamp, id, static_cast<uint8_t>(next(256)),
                         static_cast<uint8_t>(1 + next(15)));
    }
    return builder.Bytes();
}

class ReportFixture : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override {
        if (!loaded_) {
            image_.LoadBytes(FullLogImage());
            lists_.Unpack(image_);
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

BENCHMARK_DEFINE_F(ReportFixture, SystemReport)(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildSystemReport(image_, "1 (617)5550100").size());
    }
}
BENCHMARK_REGISTER_F(ReportFixture, SystemReport)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tolvane
