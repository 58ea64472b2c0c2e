// How long "gatelist.ini" takes to load with 3,000 installations and to save with 1,000: the
// load runs at every start and before every unit selection, the save after every selection that
// changed the list.
#include "SilentUser.h"
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdlib.h>
#include <string>

namespace tolvane {
namespace {

std::vector<Installation> Sites(int count) {
    std::vector<Installation> sites;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        sites.push_back({"Site " + number, "123456", "/srv/tolvane/sites/site-" + number + ".mem",
                         "1", "555", "555" + number});
    }
    return sites;
}

// A "gatelist.ini" of its own in a fresh directory, gone with the directory afterwards.
class GateListFile {
public:
    GateListFile() {
        char name[] = "/tmp/tolvane-bench-XXXXXX";
        directory_ = ::mkdtemp(name) != nullptr ? name : "/tmp";
    }
    ~GateListFile() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    ProfileFile File() const { return ProfileFile(directory_ + "/gatelist.ini", 0600); }

private:
    std::string directory_;
};

void LoadGateList(benchmark::State& state) {
    const GateListFile gateList;
    ProfileFile file = gateList.File();
    SilentUser ui;
    InstallationList{0, Sites(static_cast<int>(state.range(0)))}.SaveInstallationList(file, ui);
    InstallationList list;
    for (auto _ : state) {
        list.LoadInstallationList(file);
        benchmark::DoNotOptimize(list.records.data());
    }
    state.counters["installations"] = static_cast<double>(list.records.size());
}
BENCHMARK(LoadGateList)->Arg(3000)->Unit(benchmark::kMillisecond);

void SaveGateList(benchmark::State& state) {
    const GateListFile gateList;
    ProfileFile file = gateList.File();
    SilentUser ui;
    const InstallationList list{0, Sites(static_cast<int>(state.range(0)))};
    for (auto _ : state) {
        list.SaveInstallationList(file, ui);
    }
}
BENCHMARK(SaveGateList)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tolvane
