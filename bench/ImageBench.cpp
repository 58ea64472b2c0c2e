// How long loading and unpacking a full 256 KB memory module takes, and packing it back: the
// work behind every open, reload and download, and behind every save and upload.
#include "ImageBuilder.h"
#include "SilentUser.h"
#include "config/UnitConfiguration.h"
#include "image/MemoryModule.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

// A 256 KB module with every chain in use: a full directory, a long event log, a thousand entry
// codes over eight pages and block ranges over eighteen pages with suspended codes.
std::vector<uint8_t> BusyImage() {
    ImageBuilder builder(0x40);
    builder.AddChain(0, 4);
    builder.AddDirectory(10, 210);
    builder.AddEventLog(40);
    for (int i = 0; i < 40 * 84; ++i) {
        const uint8_t id[4] = {static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i), 0, 0};
        builder.AddEvent(4, {2026, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0}, id, 0x20, 0);
    }
    SilentUser ui;
    MemoryModule image(ui);
    image.LoadBytes(builder.Bytes());
    UnitConfiguration unit;
    image.Unpack(unit);
    for (int i = 0; i < 1000; ++i) {
        EntryCode code;
        code.digitCount = 6;
        code.digits = {1, 2, 3, static_cast<uint8_t>(i % 10), 5, 6};
        code.validationGroup = static_cast<uint16_t>(i % 16);
        code.active = 1;
        unit.entryCodes.push_back(code);
    }
    unit.blockTransmitters.ranges = {{0, 65535, 1}};
    unit.blockCards.ranges = {{0, 65535, 2}};
    for (int code = 0; code < 65536; code += 97) {
        unit.blockTransmitters.suspended.push_back(static_cast<uint16_t>(code));
        unit.blockCards.suspended.push_back(static_cast<uint16_t>(code));
    }
    for (uint16_t i = 0; i < 200; ++i) {
        auto entry = std::make_unique<DirectoryEntry>();
        entry->code = i;
        entry->name = "TENANT " + std::to_string(199 - i);
        entry->digitCount = 10;
        unit.directory.Append(std::move(entry));
    }
    image.Pack(unit);
    return image.GetBytes();
}

class ImageFile {
public:
    ImageFile() {
        char name[] = "/tmp/tolvane-bench-XXXXXX";
        const int fd = ::mkstemp(name);
        ::close(fd);
        path_ = name;
        const std::vector<uint8_t> bytes = BusyImage();
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ~ImageFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void LoadAndUnpack(benchmark::State& state) {
    const ImageFile file;
    SilentUser ui;
    MemoryModule image(ui);
    UnitConfiguration unit;
    for (auto _ : state) {
        image.Load(file.Path());
        image.Unpack(unit);
        benchmark::DoNotOptimize(unit.entryCodes.data());
    }
    state.counters["suspended"] = static_cast<double>(unit.blockCards.suspended.size());
}
BENCHMARK(LoadAndUnpack)->Unit(benchmark::kMicrosecond);

void PackAndSave(benchmark::State& state) {
    const ImageFile file;
    SilentUser ui;
    MemoryModule image(ui);
    image.Load(file.Path());
    UnitConfiguration unit;
    image.Unpack(unit);
    for (auto _ : state) {
        image.Pack(unit);
        image.Save(file.Path());
    }
}
BENCHMARK(PackAndSave)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tolvane

BENCHMARK_MAIN();
