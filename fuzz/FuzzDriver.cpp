// A small stand-in for libFuzzer, for builds without it (g++, and CTest replaying the seeds): it
// runs every input of the corpus through the target, then inputs made by mutating them, for a
// number of runs or of seconds. It has no coverage feedback; it is seeded, so a run repeats.
// Flags as libFuzzer spells them, then files or folders of inputs:
//   -runs=N  -max_total_time=SECONDS  -seed=N  -max_len=BYTES  -artifact_prefix=PATH
// A crash or a broken invariant ends the run; the input is first written to PATH + "crash-HASH".
#include "FuzzTarget.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

// Present when a sanitizer is linked in: it is told to keep the input before the process dies.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using Input = std::vector<uint8_t>;

// What the crash handlers write out; set before every run, so only plain data here.
const Input* running = nullptr;
char artifactPrefix[512] = "./";

void WriteRunningInput() {
    if (running == nullptr) {
        return;
    }
    // FNV-1a names the file after its content, as libFuzzer's artifacts are.
    uint64_t hash = 14695981039346656037ull;
    for (const uint8_t byte : *running) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    char path[600];
    char* end = path + std::strlen(artifactPrefix);
    std::memcpy(path, artifactPrefix, static_cast<std::size_t>(end - path));
    std::memcpy(end, "crash-", 6);
    end += 6;
    for (int shift = 60; shift >= 0; shift -= 4) {
        *end++ = "0123456789abcdef"[(hash >> shift) & 15];
    }
    *end = '\0';
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, running->data(), running->size());
        ::close(fd);
        static const char kSaid[] = "fuzz: the input that failed is in ";
        [[maybe_unused]] ssize_t said = ::write(2, kSaid, sizeof kSaid - 1);
        said = ::write(2, path, static_cast<std::size_t>(end - path));
        said = ::write(2, "\n", 1);
    }
    running = nullptr;
}

void OnFatalSignal(int signal) {
    WriteRunningInput();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Run(const Input& input) {
    running = &input;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    running = nullptr;
}

Input ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// One to eight stacked changes: bits and bytes set, ranges inserted, erased or copied within the
// input (links and page headers are worth copying about), and ranges spliced in from another
// input at the same offset, which keeps the layout of a structured file.
Input Mutate(Input data, const std::vector<Input>& corpus, std::mt19937_64& random,
             std::size_t maxLength) {
    const auto below = [&](std::size_t bound) {
        return bound == 0 ? 0 : static_cast<std::size_t>(random() % bound);
    };
    static constexpr uint8_t kInteresting[] = {0, 1, 2, 0x0F, 0x1F, 0x20, 0x7F, 0x80, 0xFF};
    for (std::size_t changes = 1 + below(8); changes > 0; --changes) {
        const std::size_t at = below(data.size());
        const std::size_t length = 1 + below(std::min<std::size_t>(64, data.size() + 1));
        switch (below(8)) {
        case 0:
            if (!data.empty()) {
                data[at] ^= static_cast<uint8_t>(1u << below(8));
            }
            break;
        case 1:
            if (!data.empty()) {
                data[at] = static_cast<uint8_t>(random());
            }
            break;
        case 2:
            if (!data.empty()) {
                data[at] = kInteresting[below(std::size(kInteresting))];
            }
            break;
        case 3:
            for (std::size_t i = 0; i < length && data.size() < maxLength; ++i) {
                data.insert(data.begin() + static_cast<std::ptrdiff_t>(at),
                            static_cast<uint8_t>(random()));
            }
            break;
        case 4: {
            // Now and then a cut at any length, for files that end early.
            const std::size_t count =
                below(16) == 0 ? data.size() - at : std::min(length, data.size() - at);
            data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
                       data.begin() + static_cast<std::ptrdiff_t>(at + count));
            break;
        }
        case 5: {
            const std::size_t from = below(data.size());
            const std::size_t count = std::min({length, data.size() - from, data.size() - at});
            std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(from), count,
                        data.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        }
        case 6: {
            const Input& other = corpus[below(corpus.size())];
            const std::size_t count =
                at < other.size() ? std::min({length * 16, other.size() - at, data.size() - at})
                                  : 0;
            std::copy_n(other.begin() + static_cast<std::ptrdiff_t>(at), count,
                        data.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        }
        default:
            // A two-byte number anywhere: block links, counts and code fields are two bytes.
            if (data.size() >= 2) {
                const std::size_t pair = below(data.size() - 1);
                data[pair] = static_cast<uint8_t>(random());
                data[pair + 1] = static_cast<uint8_t>(random());
            }
            break;
        }
    }
    return data;
}

bool Flag(const std::string& arg, const char* name, long long& value) {
    const std::string prefix = std::string("-") + name + "=";
    if (arg.rfind(prefix, 0) != 0) {
        return false;
    }
    value = std::stoll(arg.substr(prefix.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    long long runs = 0;
    long long seconds = 0;
    long long seed = 1;
    long long maxLength = 0;
    std::vector<Input> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (Flag(arg, "runs", runs) || Flag(arg, "max_total_time", seconds) ||
            Flag(arg, "seed", seed) || Flag(arg, "max_len", maxLength)) {
            continue;
        }
        if (arg.rfind("-artifact_prefix=", 0) == 0) {
            const std::string prefix = arg.substr(std::strlen("-artifact_prefix="));
            std::snprintf(artifactPrefix, sizeof artifactPrefix, "%s", prefix.c_str());
            continue;
        }
        if (arg.rfind("-", 0) == 0) {
            std::cerr << "fuzz: unknown flag " << arg << '\n';
            return 64;
        }
        if (std::filesystem::is_directory(arg)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                corpus.push_back(ReadFile(file));
            }
        } else {
            corpus.push_back(ReadFile(arg));
        }
    }

    // A sanitizer reports memory faults itself and calls back before the process dies; without
    // one, the fatal signals are caught here. An abort (a broken invariant) is ours either way.
    std::signal(SIGABRT, OnFatalSignal);
    if (__sanitizer_set_death_callback != nullptr) {
        __sanitizer_set_death_callback(WriteRunningInput);
    } else {
        for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
            std::signal(signal, OnFatalSignal);
        }
    }

    if (corpus.empty()) {
        corpus.emplace_back();
    }
    std::size_t longest = 0;
    for (const Input& input : corpus) {
        Run(input);
        longest = std::max(longest, input.size());
    }
    const std::size_t maxLen =
        maxLength > 0 ? static_cast<std::size_t>(maxLength) : std::max<std::size_t>(longest, 4096);

    std::mt19937_64 random(static_cast<uint64_t>(seed));
    const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long long done = 0;
    while ((runs > 0 && done < runs) || (runs == 0 && seconds > 0)) {
        if (seconds > 0 && done % 64 == 0 && std::chrono::steady_clock::now() >= stop) {
            break;
        }
        Run(Mutate(corpus[random() % corpus.size()], corpus, random, maxLen));
        ++done;
    }
    std::cerr << "fuzz: " << corpus.size() << " inputs from the corpus and " << done
              << " mutated inputs ran, no crash\n";
    return 0;
}
