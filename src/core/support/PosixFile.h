// Whole reads and writes on a file descriptor: a short count or an interruption is not the end,
// only the end of the file or an error is. And the one way files are opened for reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tolvane {

// Opens a regular file for reading. The open never blocks, so a FIFO that nobody writes to is
// refused at once instead of holding the program forever; a FIFO, a device or a directory holds
// no file to read. -1 when the file cannot be opened or is not a regular file; failure, when
// given, then says why as a person reads it ("No such file or directory", "not a regular file").
int OpenRegularFile(const std::string& path, std::string* failure = nullptr);
// Reads until size bytes came, the file ended or reading failed; returns how many came.
std::size_t ReadFully(int fd, uint8_t* buffer, std::size_t size);
// Writes all size bytes; false when writing failed (a full disk among others).
bool WriteFully(int fd, const uint8_t* bytes, std::size_t size);
// The size of the regular file at path; 0 when there is none.
std::size_t FileSize(const std::string& path);

} // namespace tolvane
