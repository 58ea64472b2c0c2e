// What every fuzz target shares: the entry point that libFuzzer, or our own driver, calls with one
// input, and the check of an invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace tolvane {

// A broken invariant is a crash to the fuzzer: it keeps the input and stops.
inline void Require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "fuzz: invariant broken: %s\n", invariant);
        std::abort();
    }
}

} // namespace tolvane
