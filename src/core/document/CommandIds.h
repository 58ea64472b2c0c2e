// The identifiers of the program's commands, shared by the menus, the toolbar, the accelerators,
// the status bar prompts and the enable and check rules.
#pragma once

namespace tolvane {

enum CommandId : int {
    kCmdSelectSystem = 32771,
    kCmdDownload = 32772,
    kCmdUpload = 32773,
    kCmdBlockTransmitters = 32774,
    kCmdBlockCards = 32775,
    kCmdEntryCodes = 32776,
    kCmdTelephoneEntries = 32777,
    kCmdValidationGroups = 32778,
    kCmdDoorSchedules = 32779,
    kCmdTimeZones = 32780,
    kCmdHolidays = 32781,
    kCmdEventLogReport = 32782,
    kCmdReload = 32784,
    kCmdSystemReport = 32789,
    kCmdBlockTransmitterReport = 32791,
    kCmdBlockCardReport = 32793,
    kCmdDirectoryReport = 32795,
    kCmdFilterEventLog = 32797,
    kCmdCompareWith = 32798,
    kCmdNew = 57600,
    kCmdOpen = 57601,
    kCmdSave = 57603,
    kCmdPrintSetup = 57606,
    kCmdPrint = 57607,
    kCmdPrintPreview = 57609,
    kCmdCopy = 57634,
    kCmdCut = 57635,
    kCmdFind = 57636,
    kCmdPaste = 57637,
    kCmdFindNext = 57640,
    kCmdSelectAll = 57642,
    kCmdUndo = 57643,
    kCmdAbout = 57664,
    kCmdExit = 57665,
    kCmdNextPane = 57680,
    kCmdPreviousPane = 57681,
    kCmdToggleToolbar = 59392,
    kCmdToggleStatusBar = 59393,
};

// The eight Setup commands, Block Transmitters to Holiday, one editor each.
constexpr bool IsSetupCommand(int id) {
    return id >= kCmdBlockTransmitters && id <= kCmdHolidays;
}

} // namespace tolvane
