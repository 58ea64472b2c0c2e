// The commands of tolvane-cli that work on memory module files: check, export, rewrite, demo.
// Each returns the process exit status.
#pragma once

#include <ostream>
#include <string>

namespace tolvane {

class MemoryModule;
class UserServices;

// Exit status when the file loaded but could not be written back.
inline constexpr int kExitSaveFailed = 3;
// Exit status of a strict check that found pages with more than one owner.
inline constexpr int kExitSharedPages = 4;

// Loads the file as every command does; when it cannot be opened, says why on err. The result
// of Load.
int LoadForCommand(MemoryModule& image, const std::string& path, std::ostream& err);

// The summary goes to out; why the file cannot be opened, and every page that two chains or a
// chain and the free map both claim, go to err. Such pages fail only a strict check.
int RunCheck(const std::string& path, bool strict, UserServices& ui, std::ostream& out,
             std::ostream& err);
int RunExport(const std::string& path, UserServices& ui, std::ostream& out, std::ostream& err);
int RunRewrite(const std::string& in, const std::string& outPath, UserServices& ui,
               std::ostream& err);
int RunDemo(const std::string& outPath, UserServices& ui, std::ostream& err);

} // namespace tolvane
