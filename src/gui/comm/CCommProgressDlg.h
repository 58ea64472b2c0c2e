// "Communication Progress": the caption as status line, the session's log, under it a bar with
// bytes, rate and time left once the transfer runs, and one button that cancels the session and,
// once it has stopped, becomes OK and closes the window.
#pragma once

#include "comm/ProgressSink.h"

#include <QDialog>

#include <atomic>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tolvane {

class CCommSession;
class UserServices;

class CCommProgressDlg : public QDialog, public ProgressSink {
    Q_OBJECT

public:
    CCommProgressDlg(CCommSession& session, UserServices& ui, QWidget* parent = nullptr);

    // Runs the window modally; when it returns the session's thread has ended.
    void RunSession();

    void AppendLogLine(const std::string& line) override;
    void SetProgressTitle(const std::string& title) override;
    void MakeCloseButton() override;
    void PostComplete() override;
    void PostAborted() override;
    void PostLineEvent() override;
    void ShowTransferProgress(const TransferProgress& progress) override;

    QPlainTextEdit* Log() const { return log_; }
    QPushButton* Button() const { return button_; }
    QProgressBar* Bar() const { return bar_; }
    QLabel* ProgressText() const { return progressText_; }
    bool IsClosable() const { return closable_; }

    // Escape, the window's close box and Cancel all cancel; only OK closes.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs work on the window's thread and returns once it has run, or once the window has
    // closed; a line from the session can thus neither be lost nor overtake another.
    void Deliver(const std::function<void()>& work);
    // Hands an end notice to the session later, on the window's thread.
    void PostNotice(void (CCommSession::*handler)());
    void OnButton();

    CCommSession& session_;
    UserServices& ui_;
    QPlainTextEdit* log_;
    QProgressBar* bar_;
    QLabel* progressText_;
    QPushButton* button_;
    bool closable_ = false;
    std::atomic<bool> closed_{false};
};

} // namespace tolvane
