#include "shell/CommandTable.h"

#include "document/CommandIds.h"

#include <algorithm>

namespace tolvane {

const std::vector<CommandInfo>& MenuCommands() {
    static const std::vector<CommandInfo> commands{
        {kCmdSelectSystem, "File", "Select Access &Control System", "",
         "Select a new or existing access control system to configure", "Select ACS",
         ":/icons/select.svg"},
        {kCmdOpen, "File", "&Open", "Ctrl+O", "Open an existing access control file", "Open",
         ":/icons/open.svg"},
        {kCmdSave, "File", "&Save", "Ctrl+S", "Save access control information to file", "Save",
         ":/icons/save.svg"},
        {kCmdReload, "File", "&Reload", "Ctrl+R",
         "Reload the access control system information from the file", "Reload",
         ":/icons/reload.svg"},
        {kCmdCompareWith, "File", "Co&mpare With...", "",
         "Show what differs between this access control file and another", "Compare With", nullptr},
        {kCmdDownload, "File", "&Download Data", "",
         "Download configuration data FROM the access control system", "Download Data",
         ":/icons/download.svg"},
        {kCmdUpload, "File", "&Upload Data", "", "Upload data TO the access control system",
         "Upload Data", ":/icons/upload.svg"},
        {kCmdPrint, "File", "&Print...", "Ctrl+P", "Print the active document", "Print",
         ":/icons/print.svg"},
        {kCmdPrintPreview, "File", "Print Pre&view", "", "Display full pages", "Print Preview",
         nullptr},
        {kCmdPrintSetup, "File", "Pr&int Setup...", "", "Change the printer and printing options",
         "Print Setup", nullptr},
        {kCmdExit, "File", "E&xit", "", "Quit the application; prompts to save documents", "Exit",
         nullptr},
        {kCmdCopy, "Edit", "&Copy", "Ctrl+C", "Copy the selection and put it on the Clipboard",
         "Copy", ":/icons/copy.svg"},
        {kCmdSelectAll, "Edit", "Select A&ll", "Ctrl+A", "Select the entire document", "Select All",
         nullptr},
        {kCmdFind, "Edit", "&Find...", "Ctrl+F", "Find the specified text", "Find", nullptr},
        {kCmdFindNext, "Edit", "F&ind Next", "F3", "Repeat the last action", "Repeat", nullptr},
        {kCmdBlockTransmitters, "Setup", "&Block Transmitters", "",
         "Configure block transmitter information", "Block Transmitters",
         ":/icons/block-transmitters.svg"},
        {kCmdBlockCards, "Setup", "B&lock Card Codes", "", "Configure block card code information",
         "Block Card Codes", ":/icons/block-cards.svg"},
        {kCmdEntryCodes, "Setup", "&Entry Codes", "", "Configure entry code information",
         "Entry Codes", ":/icons/entry-codes.svg"},
        {kCmdTelephoneEntries, "Setup", "&Telephone Entry Numbers", "",
         "Configure telephone entry number information", "Telephone Entry Numbers",
         ":/icons/telephone.svg"},
        {kCmdValidationGroups, "Setup", "&Validation Groups", "",
         "Configure validation group information", "Validation Groups",
         ":/icons/validation-groups.svg"},
        {kCmdDoorSchedules, "Setup", "&Door Schedules", "", "Configure door schedule information",
         "Door Schedules", ":/icons/door-schedules.svg"},
        {kCmdTimeZones, "Setup", "Time &Zones", "", "Configure time zone information", "Time Zones",
         ":/icons/time-zones.svg"},
        {kCmdHolidays, "Setup", "&Holiday", "", "Configure holiday information", "Holiday",
         ":/icons/holiday.svg"},
        {kCmdFilterEventLog, "Reports", "&Filter Event Log", "",
         "Select which types of events to be displayed in the event log report", "Filter Event Log",
         ":/icons/filter.svg"},
        {kCmdSystemReport, "Reports", "&System Report", "", "Display the system report",
         "System Report", ":/icons/system-report.svg"},
        {kCmdEventLogReport, "Reports", "&Event Log Report", "", "Display the event log report",
         "Event Log Report", ":/icons/event-log-report.svg"},
        {kCmdBlockTransmitterReport, "Reports", "&Block Transmitter Report", "",
         "Display the block transmitter report", "Block Transmitter Report",
         ":/icons/block-transmitter-report.svg"},
        {kCmdBlockCardReport, "Reports", "Block &Card Report", "", "Display the block card report",
         "Block Card Report", ":/icons/block-card-report.svg"},
        {kCmdDirectoryReport, "Reports", "&Telephone Directory Report", "",
         "Display the telephone directory report", "Telephone Directory Report",
         ":/icons/directory-report.svg"},
        {kCmdToggleToolbar, "View", "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar",
         nullptr},
        {kCmdToggleStatusBar, "View", "&Status Bar", "", "Show or hide the status bar",
         "Toggle StatusBar", nullptr},
        {kCmdAbout, "Help", "&About Tolvane...", "",
         "Display program information, version number and copyright", "About", ":/icons/about.svg"},
    };
    return commands;
}

const CommandInfo* FindCommand(int id) {
    const auto& commands = MenuCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [id](const CommandInfo& command) { return command.id == id; });
    return found == commands.end() ? nullptr : &*found;
}

const std::vector<int>& ToolbarLayout() {
    static const std::vector<int> layout{kCmdOpen,
                                         kCmdReload,
                                         kCmdSave,
                                         0,
                                         kCmdSelectSystem,
                                         0,
                                         kCmdDownload,
                                         kCmdUpload,
                                         0,
                                         kCmdCopy,
                                         0,
                                         kCmdPrint,
                                         0,
                                         kCmdBlockTransmitters,
                                         kCmdBlockCards,
                                         kCmdEntryCodes,
                                         kCmdTelephoneEntries,
                                         kCmdValidationGroups,
                                         kCmdDoorSchedules,
                                         kCmdTimeZones,
                                         kCmdHolidays,
                                         0,
                                         kCmdFilterEventLog,
                                         kCmdSystemReport,
                                         kCmdEventLogReport,
                                         kCmdBlockTransmitterReport,
                                         kCmdBlockCardReport,
                                         kCmdDirectoryReport,
                                         0,
                                         kCmdAbout};
    return layout;
}

bool SeparatorAfter(int id) {
    switch (id) {
    case kCmdSelectSystem:
    case kCmdCompareWith:
    case kCmdUpload:
    case kCmdPrintSetup:
    case kCmdSelectAll:
    case kCmdFilterEventLog:
        return true;
    default:
        return false;
    }
}

} // namespace tolvane
