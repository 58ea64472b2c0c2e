// Every test process gets a home of its own: the settings store (recent files), the profile
// files and the configuration directory all live in a fresh directory that goes with the
// process. Tests can then run in parallel without one's set-up removing another's settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tolvane {

// Points HOME, XDG_CONFIG_HOME and TOLVANE_CONFIG_DIR at a new temporary directory, removed when
// the process ends. Call it first thing in main, before anything reads them.
inline void UsePrivateEnvironment() {
    static char home[] = "/tmp/tolvane-home-XXXXXX";
    if (::mkdtemp(home) == nullptr) {
        throw std::runtime_error("cannot make a private home for the tests");
    }
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    });
    ::setenv("HOME", home, 1);
    ::setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    ::setenv("TOLVANE_CONFIG_DIR", (std::string(home) + "/config/tolvane").c_str(), 1);
}

} // namespace tolvane
