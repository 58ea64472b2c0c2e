// The command-line tests are linked with --wrap=write, so every write(2) that the program's own
// code makes passes through a wrapper: a test sets this to make the next write to a regular file
// fail as on a full disk, which no file mode could do for a test that runs as root. Writes to the
// line and to terminals pass.
#pragma once

#include <atomic>

namespace tolvane {

extern std::atomic<bool> failNextFileWrite;

} // namespace tolvane
