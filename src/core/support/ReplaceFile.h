// Writing a whole file so that it ends up either with all of the new bytes or exactly as it was:
// a download that fails half-way, or a full disk, must never leave a unit's only image cut short.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

namespace tolvane {

enum class ReplaceResult {
    Replaced,
    CannotOpen, // the file may not be written, is no regular file, or nothing can be made beside it
    WriteFailed, // writing, flushing or renaming failed (a full disk among others)
};

// Writes the bytes to a temporary file beside path, flushes them to the disk and renames it over
// path; a link is followed and the file it names replaced. A file that exists and may not be
// written (a read-only file) is refused, not replaced. mode: the new file's mode; nullopt keeps
// the mode of the file replaced (a new file gets the usual mode). On failure error holds errno's
// reason, and path is untouched. beforeReplacing runs once the new bytes are safely on the disk,
// just before they take the file's place: the moment to make backups, which then never rotate
// for a write that did not happen.
ReplaceResult ReplaceFile(const std::string& path, std::span<const uint8_t> bytes,
                          std::optional<mode_t> mode, int& error,
                          const std::function<void()>& beforeReplacing = {});

} // namespace tolvane
