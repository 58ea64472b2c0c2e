#include "comm/CCommProgressDlg.h"

#include "comm/CCommSession.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace tolvane {

CCommProgressDlg::CCommProgressDlg(CCommSession& session, UserServices& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
    setWindowTitle("Communication Progress");
    log_ = new QPlainTextEdit;
    log_->setReadOnly(true);
    log_->setUndoRedoEnabled(false);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Hidden until the transfer starts: dialing and logging in move no bytes.
    bar_ = new QProgressBar;
    bar_->setTextVisible(false);
    bar_->hide();
    progressText_ = new QLabel;
    progressText_->hide();
    button_ = new QPushButton("Cancel");
    button_->setDefault(true);
    connect(button_, &QPushButton::clicked, this, &CCommProgressDlg::OnButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log_);
    layout->addWidget(bar_);
    layout->addWidget(progressText_);
    layout->addWidget(button_, 0, Qt::AlignHCenter);
    resize(520, 360);
}

void CCommProgressDlg::RunSession() {
    session_.SetSink(this);
    // The session starts once the window shows, as the window's own initialisation.
    QTimer::singleShot(0, this, [this] { session_.OnInitialise(ui_); });
    exec();
    closed_ = true;
    session_.Finish();
    session_.SetSink(nullptr);
}

void CCommProgressDlg::Deliver(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    auto taken = std::make_shared<QSemaphore>(0);
    QMetaObject::invokeMethod(
        this,
        [work, taken] {
            work();
            taken->release();
        },
        Qt::QueuedConnection);
    while (!taken->tryAcquire(1, 50)) {
        if (closed_) {
            return;
        }
    }
}

void CCommProgressDlg::AppendLogLine(const std::string& line) {
    const QString text = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    Deliver([this, text] {
        log_->appendPlainText(text);
        log_->ensureCursorVisible();
    });
}

void CCommProgressDlg::SetProgressTitle(const std::string& title) {
    const QString text = QString::fromStdString(title);
    Deliver([this, text] { setWindowTitle(text); });
}

void CCommProgressDlg::MakeCloseButton() {
    Deliver([this] {
        closable_ = true;
        button_->setText("OK");
    });
}

void CCommProgressDlg::PostComplete() {
    PostNotice(&CCommSession::OnComplete);
}

void CCommProgressDlg::PostAborted() {
    PostNotice(&CCommSession::OnAborted);
}

void CCommProgressDlg::PostLineEvent() {
    PostNotice(&CCommSession::OnLineEvent);
}

void CCommProgressDlg::ShowTransferProgress(const TransferProgress& progress) {
    // Queued and not waited for: a late figure is harmless, a stalled transfer is not.
    QMetaObject::invokeMethod(
        this,
        [this, progress] {
            const std::optional<int> percent = progress.Percent();
            // Without a size to go by the bar only shows that bytes are moving.
            bar_->setRange(0, percent ? 100 : 0);
            bar_->setValue(percent.value_or(0));
            progressText_->setText(QString::fromStdString(progress.Text()));
            bar_->show();
            progressText_->show();
        },
        Qt::QueuedConnection);
}

void CCommProgressDlg::PostNotice(void (CCommSession::*handler)()) {
    // A notice that comes after the window has closed (a thread that was given up on) has
    // nothing left to show: the session's Finish has had the last word.
    QMetaObject::invokeMethod(
        this,
        [this, handler] {
            if (!closed_) {
                (session_.*handler)();
            }
        },
        Qt::QueuedConnection);
}

void CCommProgressDlg::OnButton() {
    if (closable_) {
        accept();
    } else {
        session_.OnCancel();
    }
}

void CCommProgressDlg::reject() {
    session_.OnCancel();
}

void CCommProgressDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

} // namespace tolvane
