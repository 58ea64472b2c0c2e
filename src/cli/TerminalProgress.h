// The progress window of the terminal: the session's log on standard error, or on a terminal one
// updating line of progress in its place, and the end notices handed to the waiting command.
#pragma once

#include "TerminalUserServices.h"
#include "comm/ProgressSink.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>

namespace tolvane {

class TerminalProgress : public ProgressSink, public TerminalUserServices {
public:
    // progressLine: one updating line of progress stands for the log, whose error lines alone
    // still show.
    TerminalProgress(std::ostream& err, bool progressLine);

    // Whether err is a terminal a progress line can be drawn on.
    static bool IsTerminal(const std::ostream& err);

    void AppendLogLine(const std::string& line) override;
    void SetProgressTitle(const std::string& title) override;
    void ShowTransferProgress(const TransferProgress& progress) override;
    void MakeCloseButton() override;
    void PostComplete() override;
    void PostAborted() override;
    void PostLineEvent() override;

    // Runs the session to its end as the window would: start, then hand it its end notices and
    // the modem line's news as they come, and a Ctrl+C as a cancel, until it offers OK. A thread
    // that has not ended after a cancel is stuck on the line and will send no notice: Finish
    // gives it up.
    void RunProgressDialog(CCommSession& session) override;

    // The last error line of the log, without its "ERROR:  "; empty when there was none.
    std::string LastError() const;

private:
    enum Notice { kNone, kComplete, kAborted, kLineEvent };

    void Post(Notice notice);
    // The oldest notice, or kNone after a short wait without one.
    Notice NextNotice();
    // Takes the progress line off the terminal, so a line can take its place.
    void ClearProgressLine();

    std::ostream& err_;
    bool progressLine_;
    mutable std::mutex outputMutex_;
    bool progressShown_ = false; // guarded by outputMutex_
    std::string lastError_;      // guarded by outputMutex_
    std::mutex noticeMutex_;
    std::condition_variable noticeSignal_;
    std::deque<Notice> notices_;
    bool closable_ = false; // set on the user interface thread only
};

} // namespace tolvane
