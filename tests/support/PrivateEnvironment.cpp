#include "support/PrivateEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tolvane {

namespace {

std::string& PrivateHome() {
    static std::string home;
    return home;
}

void RemovePrivateHome() {
    std::error_code ignored;
    std::filesystem::remove_all(PrivateHome(), ignored);
}

} // namespace

void UsePrivateEnvironment() {
    char pattern[] = "/tmp/tolvane-home-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("cannot make a private home for the tests");
    }
    PrivateHome() = pattern;
    std::atexit(RemovePrivateHome);
    const std::string home = PrivateHome();
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("TOLVANE_CONFIG_DIR", (home + "/config/tolvane").c_str(), 1);
}

} // namespace tolvane
