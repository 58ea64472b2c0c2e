#include "support/ReplaceFile.h"

#include "support/PosixFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

ReplaceResult ReplaceFile(const std::string& linkOrPath, std::span<const uint8_t> bytes,
                          std::optional<mode_t> mode, int& error,
                          const std::function<void()>& beforeReplacing) {
    // A file reached through a link is replaced where it lives; the link stays a link.
    std::string path = linkOrPath;
    if (char* real = ::realpath(linkOrPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
        return ReplaceResult::CannotOpen;
    }
    if (exists) {
        // Renaming over a file needs only the directory's permission; the file's own says
        // whether the user meant it to be written.
        const int probe = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) {
            error = errno;
            return ReplaceResult::CannotOpen;
        }
        ::close(probe);
    }
    // A name of its own beside the file, so the rename stays on one file system. A new file with
    // no mode asked for is created with the usual one, so that the umask decides as it would for
    // any other; one asked for (a file of passwords) is never more open, even for a moment.
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          mode ? *mode : mode_t{0666});
    if (fd < 0) {
        error = errno;
        return ReplaceResult::CannotOpen;
    }
    const std::optional<mode_t> kept = mode     ? mode
                                       : exists ? std::optional<mode_t>(existing.st_mode & 07777)
                                                : std::nullopt;
    bool done = (!kept || ::fchmod(fd, *kept) == 0) && WriteFully(fd, bytes.data(), bytes.size()) &&
                ::fsync(fd) == 0;
    error = done ? 0 : errno;
    if (::close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && beforeReplacing) {
        beforeReplacing();
    }
    if (done && std::rename(temporary.c_str(), path.c_str()) != 0) {
        done = false;
        error = errno;
    }
    if (!done) {
        ::unlink(temporary.c_str());
    }
    return done ? ReplaceResult::Replaced : ReplaceResult::WriteFailed;
}

} // namespace tolvane
