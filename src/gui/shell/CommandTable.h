// The program's commands as the menus, the toolbar and the status bar show them: label, shortcut,
// status bar prompt and tool tip, keyed by command id.
#pragma once

#include <QString>

#include <vector>

namespace tolvane {

struct CommandInfo {
    int id;
    const char* menu;     // "File", "Edit", ...; nullptr for accelerator-only commands
    const char* label;    // with its & mnemonic, without the shortcut
    const char* shortcut; // in the form QKeySequence reads; "" for none
    const char* prompt;   // the status bar text
    const char* toolTip;  // the text after the prompt's line break
    const char* icon;     // toolbar icon resource, nullptr when not on the toolbar
};

// Every command with a menu entry, in menu order.
const std::vector<CommandInfo>& MenuCommands();
const CommandInfo* FindCommand(int id);
// Toolbar buttons in order; 0 stands for a separator.
const std::vector<int>& ToolbarLayout();
// Menus after which a separator follows the command.
bool SeparatorAfter(int id);

} // namespace tolvane
