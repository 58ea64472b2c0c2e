// The commands of tolvane-cli that work on memory module files: check, export, rewrite, demo.
// Each returns the process exit status.
#pragma once

#include <ostream>
#include <string>

namespace tolvane {

class UserServices;

// Exit status when the file loaded but could not be written back.
inline constexpr int kExitSaveFailed = 3;

int RunCheck(const std::string& path, UserServices& ui, std::ostream& out);
int RunExport(const std::string& path, UserServices& ui, std::ostream& out);
int RunRewrite(const std::string& in, const std::string& outPath, UserServices& ui,
               std::ostream& err);
int RunDemo(const std::string& outPath, UserServices& ui, std::ostream& err);

} // namespace tolvane
