#include "TerminalProgress.h"

#include "InterruptGuard.h"
#include "comm/CCommSession.h"

#include <chrono>
#include <iostream>
#include <unistd.h>

namespace tolvane {

namespace {

constexpr std::string_view kErrorPrefix = "ERROR:  ";

} // namespace

TerminalProgress::TerminalProgress(std::ostream& err, bool progressLine)
    : TerminalUserServices(err), err_(err), progressLine_(progressLine) {}

bool TerminalProgress::IsTerminal(const std::ostream& err) {
    return &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
}

void TerminalProgress::AppendLogLine(const std::string& line) {
    const std::lock_guard lock(outputMutex_);
    const bool error = line.starts_with(kErrorPrefix);
    if (error) {
        lastError_ = line.substr(kErrorPrefix.size());
    }
    if (progressLine_ && !error) {
        return;
    }
    ClearProgressLine();
    err_ << line << '\n';
    err_.flush();
}

void TerminalProgress::SetProgressTitle(const std::string& title) {
    const std::lock_guard lock(outputMutex_);
    if (progressLine_) {
        return;
    }
    err_ << "[" << title << "]\n";
    err_.flush();
}

void TerminalProgress::ShowTransferProgress(const TransferProgress& progress) {
    if (!progressLine_) {
        return;
    }
    const std::lock_guard lock(outputMutex_);
    ClearProgressLine();
    err_ << progress.Text();
    err_.flush();
    progressShown_ = true;
}

void TerminalProgress::MakeCloseButton() {
    closable_ = true;
}

void TerminalProgress::PostComplete() {
    Post(kComplete);
}

void TerminalProgress::PostAborted() {
    Post(kAborted);
}

void TerminalProgress::PostLineEvent() {
    Post(kLineEvent);
}

void TerminalProgress::RunProgressDialog(CCommSession& session) {
    session.SetSink(this);
    closable_ = false;
    if (session.OnInitialise(*this)) {
        bool cancelled = false;
        while ((!closable_ || session.AwaitingNotice()) && !(cancelled && !session.ThreadEnded())) {
            switch (NextNotice()) {
            case kComplete:
                session.OnComplete();
                break;
            case kAborted:
                session.OnAborted();
                break;
            case kLineEvent:
                session.OnLineEvent();
                break;
            case kNone:
                if (InterruptGuard::Take()) {
                    session.OnCancel();
                    cancelled = true;
                }
                break;
            }
        }
    }
    session.Finish();
    session.SetSink(nullptr);
    const std::lock_guard lock(outputMutex_);
    if (progressShown_) {
        err_ << '\n';
        progressShown_ = false;
    }
}

std::string TerminalProgress::LastError() const {
    const std::lock_guard lock(outputMutex_);
    return lastError_;
}

void TerminalProgress::Post(Notice notice) {
    const std::lock_guard lock(noticeMutex_);
    notices_.push_back(notice);
    noticeSignal_.notify_all();
}

TerminalProgress::Notice TerminalProgress::NextNotice() {
    std::unique_lock lock(noticeMutex_);
    if (!noticeSignal_.wait_for(lock, std::chrono::milliseconds(100),
                                [this] { return !notices_.empty(); })) {
        return kNone;
    }
    const Notice notice = notices_.front();
    notices_.pop_front();
    return notice;
}

void TerminalProgress::ClearProgressLine() {
    if (progressShown_) {
        err_ << "\r\033[K";
        progressShown_ = false;
    }
}

} // namespace tolvane
