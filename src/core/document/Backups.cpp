#include "document/Backups.h"

#include <filesystem>

namespace tolvane {

namespace {

void CopyReplacing(const std::string& from, const std::string& to) {
    std::error_code ignored;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                               ignored);
}

} // namespace

void MakeBackupCopies(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = hasExtension ? path.substr(0, dot) : path;
    CopyReplacing(base + ".001", base + ".002");
    CopyReplacing(path, base + ".001");
}

} // namespace tolvane
