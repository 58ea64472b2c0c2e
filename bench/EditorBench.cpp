// How the editors' rules keep up with the largest lists a 256 KB module holds: about 30,000 entry
// codes, and a directory of a few thousand tenants. Add checks the new record against every other
// one, so it is what a user waits for after each OK.
#include "config/DirectoryEditor.h"
#include "config/EntryCodeEditor.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tolvane {
namespace {

constexpr int kCodes = 30000;
constexpr uint16_t kTenants = 5187; // 247 directory pages of 21 records

EntryCodeArray ManyCodes() {
    EntryCodeArray codes;
    for (int i = 0; i < kCodes; ++i) {
        EntryCode code;
        EntryCodeEditor::ReadFields(std::to_string(10000000 + i * 7), "1", true, code);
        codes.push_back(code);
    }
    return codes;
}

void EntryCodeLoad(benchmark::State& state) {
    const EntryCodeArray codes = ManyCodes();
    for (auto _ : state) {
        EntryCodeEditor editor;
        editor.Load(codes);
        benchmark::DoNotOptimize(editor.Codes().data());
    }
}
BENCHMARK(EntryCodeLoad)->Unit(benchmark::kMillisecond);

void EntryCodeAddAndRemove(benchmark::State& state) {
    EntryCodeEditor editor;
    editor.Load(ManyCodes());
    EntryCode fresh;
    EntryCodeEditor::ReadFields("0042", "1", true, fresh);
    for (auto _ : state) {
        benchmark::DoNotOptimize(editor.Add(fresh));
        editor.Remove(kCodes);
    }
}
BENCHMARK(EntryCodeAddAndRemove)->Unit(benchmark::kMicrosecond);

void DirectoryAddAndRemove(benchmark::State& state) {
    DirectoryEditor editor(kTenants + 1);
    for (uint16_t code = 0; code + 1 < kTenants; ++code) {
        auto entry = std::make_unique<DirectoryEntry>();
        DirectoryEditor::ReadFields(std::to_string(code), "TENANT", "5551234", false, *entry);
        editor.Add(std::move(entry));
    }
    for (auto _ : state) {
        auto entry = std::make_unique<DirectoryEntry>();
        DirectoryEditor::ReadFields("65000", "NEW", "5551234", false, *entry);
        benchmark::DoNotOptimize(editor.Add(std::move(entry)));
        editor.Remove(kTenants - 1);
    }
}
BENCHMARK(DirectoryAddAndRemove)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tolvane
