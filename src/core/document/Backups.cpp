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
    // A file that is itself a backup generation ("gate.002", opened to get an old state back)
    // keeps its whole name as the base: with the plain base its own rotation would copy over
    // it before it is saved.
    const std::string extension = hasExtension ? path.substr(dot) : std::string();
    const bool isGeneration = extension == ".001" || extension == ".002";
    const std::string base = hasExtension && !isGeneration ? path.substr(0, dot) : path;
    CopyReplacing(base + ".001", base + ".002");
    CopyReplacing(path, base + ".001");
}

} // namespace tolvane
