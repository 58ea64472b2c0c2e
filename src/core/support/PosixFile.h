// Whole reads and writes on a file descriptor: a short count or an interruption is not the end,
// only the end of the file or an error is.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvane {

// Reads until size bytes came, the file ended or reading failed; returns how many came.
std::size_t ReadFully(int fd, uint8_t* buffer, std::size_t size);
// Writes all size bytes; false when writing failed (a full disk among others).
bool WriteFully(int fd, const uint8_t* bytes, std::size_t size);

} // namespace tolvane
