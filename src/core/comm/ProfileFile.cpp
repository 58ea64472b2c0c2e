#include "comm/ProfileFile.h"

#include "support/PosixFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

// Profile files are small; past this the file is not one of ours and reading stops.
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

bool WriteText(int fd, const std::string& text) {
    return WriteFully(fd, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

} // namespace

ProfileFile::ProfileFile(std::string path, mode_t mode) : path_(std::move(path)), mode_(mode) {}

ProfileSnapshot ProfileFile::Read() const {
    std::string text;
    if (std::FILE* file = std::fopen(path_.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got = 0;
        while (text.size() < kMaxFileSize &&
               (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            text.append(buffer, got);
        }
        std::fclose(file);
    }
    return ProfileSnapshot::FromText(text);
}

bool ProfileFile::Write(const ProfileSnapshot& snapshot) const {
    const std::string temporary = path_ + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode_);
    if (fd < 0) {
        return false;
    }
    const bool written =
        ::fchmod(fd, mode_) == 0 && WriteText(fd, snapshot.Text()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    ProfileSnapshot snapshot = Read();
    return snapshot.Set(section, key, value) && Write(snapshot);
}

bool ProfileFile::WriteInt32(const std::string& section, const std::string& key, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    return WriteString(section, key,
                       ProfileSnapshot::EncodeStruct(
                           {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)}));
}

bool ProfileFile::Delete() {
    return ::unlink(path_.c_str()) == 0 || errno == ENOENT;
}

std::string ConfigDirectory() {
    std::string directory;
    if (const char* own = std::getenv("TOLVANE_CONFIG_DIR"); own != nullptr && *own != '\0') {
        directory = own;
    } else if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        directory = std::string(xdg) + "/tolvane";
    } else {
        const char* home = std::getenv("HOME");
        directory = std::string(home != nullptr ? home : ".") + "/.config/tolvane";
    }
    // Each level in turn, so a fresh home without ~/.config works too.
    for (std::size_t slash = directory.find('/', 1); slash != std::string::npos;
         slash = directory.find('/', slash + 1)) {
        ::mkdir(directory.substr(0, slash).c_str(), 0700);
    }
    ::mkdir(directory.c_str(), 0700);
    return directory;
}

} // namespace tolvane
