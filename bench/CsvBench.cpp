// How long tolvane-cli import takes for the longest lists a 256 KB module holds: thirty thousand
// entry codes, and a directory at its largest capacity. Each run is the whole command: load,
// unpack, read the CSV through the editors' rules, pack, back up and save.
#include "CliApp.h"
#include "ImageBuilder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

// An image and a CSV in a directory of their own, gone afterwards with the backups.
class ImportFiles {
public:
    ImportFiles(const std::vector<uint8_t>& image, const std::string& csv) {
        char name[] = "/tmp/tolvane-bench-XXXXXX";
        dir_ = ::mkdtemp(name);
        std::ofstream(Image(), std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()),
                   static_cast<std::streamsize>(image.size()));
        std::ofstream(Csv(), std::ios::binary) << csv;
    }
    ~ImportFiles() {
        for (const char* file : {"/unit.mem", "/unit.001", "/unit.002", "/list.csv"}) {
            std::remove((dir_ + file).c_str());
        }
        ::rmdir(dir_.c_str());
    }
    std::string Image() const { return dir_ + "/unit.mem"; }
    std::string Csv() const { return dir_ + "/list.csv"; }

private:
    std::string dir_;
};

void Import(benchmark::State& state, const char* kind, const ImportFiles& files) {
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (RunCli({"import", kind, files.Image(), files.Csv()}, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
}

void ImportEntryCodes(benchmark::State& state) {
    constexpr int kCodes = 30000;
    std::string csv = "code,group,active\n";
    for (int i = 0; i < kCodes; ++i) {
        csv += std::to_string(10000000 + i * 7) + ',' + std::to_string(i % 16) + ',' +
               (i % 5 == 0 ? "no" : "yes") + '\n';
    }
    const ImportFiles files(ImageBuilder(0x40).Bytes(), csv);
    Import(state, "entry-codes", files);
    state.counters["rows"] = kCodes;
}
BENCHMARK(ImportEntryCodes)->Unit(benchmark::kMillisecond);

// Every page but the name page holds directory records, as far as the chain's page count goes.
void ImportLargestDirectory(benchmark::State& state) {
    ImageBuilder builder(0x40);
    const int recordPages = std::min(builder.PageCount() - 1, 254);
    const int capacity = 21 * recordPages;
    builder.AddDirectory(recordPages, static_cast<uint16_t>(capacity));
    std::string csv = "code,name,phone,extended_talk\n";
    for (int i = 0; i < capacity - 1; ++i) {
        csv += std::to_string(i) + ",\"Tenant " + std::to_string((i * 7919) % capacity) +
               ", Apt\",(617) 555-" + std::to_string(1000 + i % 9000) + ',' +
               (i % 3 == 0 ? "yes" : "no") + '\n';
    }
    const ImportFiles files(builder.Bytes(), csv);
    Import(state, "directory", files);
    state.counters["rows"] = capacity - 1;
}
BENCHMARK(ImportLargestDirectory)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tolvane
