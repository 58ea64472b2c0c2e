// Where a communication session reports: the progress window in the program, standard error in
// the command-line tool, a recorder in the tests.
#pragma once

#include "comm/TransferProgress.h"

#include <string>

namespace tolvane {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    // One log line, from either thread. It returns once the line has been taken, so lines are
    // never lost or reordered and the session cannot outrun its window.
    virtual void AppendLogLine(const std::string& line) = 0;
    // The caption that serves as the status line.
    virtual void SetProgressTitle(const std::string& title) = 0;
    // The Cancel button becomes OK.
    virtual void MakeCloseButton() = 0;
    // The communication thread has ended its work; each is delivered later on the user
    // interface thread, which then calls the session's OnComplete or OnAborted.
    virtual void PostComplete() = 0;
    virtual void PostAborted() = 0;
    // The modem line has news, from its own thread: later, on the user interface thread, the
    // session's OnLineEvent takes it. Never blocks. Sinks of direct sessions only get none.
    virtual void PostLineEvent() {}
    // How far the transfer has come, from the communication thread after each packet. Never
    // blocks; a sink that shows no progress ignores it.
    virtual void ShowTransferProgress(const TransferProgress& progress) { (void)progress; }
};

} // namespace tolvane
