// Writing a whole file so that it ends up either with all of the new bytes or exactly as it was:
// a download that fails half-way, or a full disk, must never leave a unit's only image cut short.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

namespace tolvane {

// Writes the bytes to a temporary file beside path, flushes them to the disk and renames it over
// path. A file that exists and may not be written (a read-only file) is refused, not replaced.
// mode: the new file's mode; nullopt keeps the mode of the file replaced (a new file gets the
// usual mode). On failure returns false with errno's reason in error, and path is untouched.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes,
                 std::optional<mode_t> mode, int& error);

} // namespace tolvane
