// The two backup generations kept beside a memory module file before it is written: ".001"
// holds the file as it was before this save, ".002" the one before that.
#pragma once

#include <string>

namespace tolvane {

// The base is the path without its extension: the last '.' counts only when it comes after the
// last '/', so a dotted directory name is never cut, and a ".001" or ".002" file keeps its whole
// name, so a backup being worked on is never rotated over. Failed copies are ignored (there is no
// ".001" the first time).
void MakeBackupCopies(const std::string& path);

} // namespace tolvane
