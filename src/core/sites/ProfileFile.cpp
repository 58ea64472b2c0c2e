#include "sites/ProfileFile.h"

#include "support/PosixFile.h"
#include "support/ReplaceFile.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

// Profile files are small; past this the file is not one of ours and reading stops.
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

std::string ReadText(const std::string& path) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) {
        return {};
    }
    std::string text;
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        text.resize(std::min(static_cast<std::size_t>(info.st_size), kMaxFileSize));
        text.resize(ReadFully(fd, reinterpret_cast<uint8_t*>(text.data()), text.size()));
    }
    ::close(fd);
    return text;
}

} // namespace

ProfileFile::ProfileFile(std::string path, mode_t mode) : path_(std::move(path)), mode_(mode) {}

ProfileSnapshot ProfileFile::Read() const {
    return ProfileSnapshot::FromText(ReadText(path_));
}

bool ProfileFile::Write(const ProfileSnapshot& snapshot) const {
    const std::string text = snapshot.Text();
    int error = 0;
    return ReplaceFile(path_, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                       mode_, error) == ReplaceResult::Replaced;
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    ProfileSnapshot snapshot = Read();
    return snapshot.Set(section, key, value) && Write(snapshot);
}

bool ProfileFile::WriteInt32(const std::string& section, const std::string& key, int32_t value) {
    ProfileSnapshot snapshot = Read();
    snapshot.SetInt32(section, key, value);
    return Write(snapshot);
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
