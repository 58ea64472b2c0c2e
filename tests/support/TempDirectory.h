// A fresh directory under /tmp for one test, gone with everything in it when the test ends; and
// the few file helpers the tests need in it: write bytes or text to a file by name, read a file
// back as bytes.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane {

class TempDirectory {
public:
    // Throws when no directory can be made, so a test never runs against a missing one.
    TempDirectory() {
        char pattern[] = "/tmp/tolvane-test-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            throw std::runtime_error(std::string("cannot make a temporary directory: ") +
                                     std::strerror(errno));
        }
        dir_ = pattern;
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // The directory itself, and a name inside it (which may hold subdirectories).
    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Each writes the whole file anew and returns its path.
    std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string WriteText(const std::string& name, const std::string& text) const {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        return path;
    }

    // Empty when the file cannot be read.
    static std::vector<uint8_t> ReadBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

private:
    std::string dir_;
};

} // namespace tolvane
