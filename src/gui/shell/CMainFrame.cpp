#include "shell/CMainFrame.h"

#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "reports/CZemrixView.h"
#include "shell/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

namespace tolvane {

namespace {

constexpr const char* kReady = "Ready";

} // namespace

CMainFrame::CMainFrame(CZemrixDoc& document, QWidget* parent)
    : QMainWindow(parent), document_(document) {
    setWindowIcon(QIcon(":/icons/tolvane.svg"));
    view_ = new CZemrixView(document, this);
    setCentralWidget(view_);
    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateStatusBar();
    connect(view_, &QTextEdit::selectionChanged, this, &CMainFrame::RefreshCommandStates);
    setWindowTitle(QString::fromStdString(document.WindowTitle()));
    resize(1000, 720);
    RefreshCommandStates();
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& command : MenuCommands()) {
        auto* action = new QAction(command.label, this);
        if (*command.shortcut != '\0') {
            action->setShortcut(QKeySequence(command.shortcut));
        }
        action->setStatusTip(command.prompt);
        action->setToolTip(command.toolTip);
        if (command.icon != nullptr) {
            action->setIcon(QIcon(command.icon));
        }
        const int id = command.id;
        if (document_.IsCommandChecked(id).has_value() || id == kCmdToggleToolbar ||
            id == kCmdToggleStatusBar) {
            action->setCheckable(true);
        }
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        actions_.insert(id, action);
    }
    // Accelerators without a menu entry.
    auto accelerator = [this](int id, const QList<QKeySequence>& keys) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        addAction(action);
        actions_.insert(id, action);
    };
    accelerator(kCmdNew, {QKeySequence("Ctrl+N")});
    accelerator(kCmdPaste, {QKeySequence("Ctrl+V"), QKeySequence("Shift+Insert")});
    accelerator(kCmdCut, {QKeySequence("Ctrl+X"), QKeySequence("Shift+Delete")});
    accelerator(kCmdUndo, {QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")});
    accelerator(kCmdNextPane, {QKeySequence("F6")});
    accelerator(kCmdPreviousPane, {QKeySequence("Shift+F6")});
    actions_.value(kCmdCopy)->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Insert")});
}

void CMainFrame::CreateMenus() {
    QMap<QString, QMenu*> menus;
    for (const char* title : {"File", "Edit", "Setup", "Reports", "View", "Help"}) {
        QMenu* menu = menuBar()->addMenu(QString("&") + title);
        // A bar can also be hidden from the toolbar area's own context menu: a menu shows the
        // states as they are when it opens.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RefreshCommandStates);
        menus.insert(title, menu);
    }
    fileMenu_ = menus.value("File");
    for (const CommandInfo& command : MenuCommands()) {
        QMenu* menu = menus.value(command.menu);
        if (command.id == kCmdExit) {
            recentSeparator_ = menu->addSeparator();
        }
        menu->addAction(actions_.value(command.id));
        if (SeparatorAfter(command.id)) {
            menu->addSeparator();
        }
    }
    FillRecentFiles();
}

void CMainFrame::CreateToolbar() {
    toolbar_ = addToolBar("Standard");
    toolbar_->setObjectName("Standard");
    toolbar_->setIconSize(QSize(16, 15));
    for (const int id : ToolbarLayout()) {
        if (id == 0) {
            toolbar_->addSeparator();
        } else {
            toolbar_->addAction(actions_.value(id));
        }
    }
    actions_.value(kCmdToggleToolbar)->setChecked(true);
}

void CMainFrame::CreateStatusBar() {
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(indicator);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance("SCRL") + 12);
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
    }
    // Between hovers the message pane says "Ready".
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) {
            statusBar()->showMessage(kReady);
        }
    });
    statusBar()->showMessage(kReady);
    actions_.value(kCmdToggleStatusBar)->setChecked(true);
}

void CMainFrame::RunCommand(int id) {
    if (id == kCmdOpen) {
        if (document_.OnOpen()) {
            RememberRecentFile(QString::fromStdString(document_.FilePath()));
        }
    } else if (document_.OnCommand(id)) {
        // the document carried it out
    } else {
        switch (id) {
        case kCmdPrint:
            view_->OnPrint();
            break;
        case kCmdPrintPreview:
            view_->OnPrintPreview();
            break;
        case kCmdPrintSetup:
            view_->OnPrintSetup();
            break;
        case kCmdCopy:
            view_->copy();
            break;
        case kCmdSelectAll:
            view_->selectAll();
            break;
        case kCmdFind:
            view_->OnFind();
            break;
        case kCmdFindNext:
            view_->OnFindNext();
            break;
        case kCmdToggleToolbar:
            toolbar_->setVisible(!toolbar_->isVisible());
            break;
        case kCmdToggleStatusBar:
            statusBar()->setVisible(!statusBar()->isVisible());
            break;
        case kCmdAbout:
            ShowAbout();
            break;
        case kCmdExit:
            close();
            break;
        default: // paste, cut, undo and the pane keys change nothing in a read-only report
            break;
        }
    }
    RefreshCommandStates();
}

void CMainFrame::RefreshCommandStates() {
    const bool hasText = !view_->document()->isEmpty();
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        const int id = it.key();
        QAction* action = it.value();
        if (const std::optional<bool> enabled = document_.IsCommandEnabled(id)) {
            action->setEnabled(*enabled);
        } else if (id == kCmdCopy) {
            action->setEnabled(view_->textCursor().hasSelection());
        } else if (id == kCmdPrint || id == kCmdPrintPreview || id == kCmdSelectAll ||
                   id == kCmdFind || id == kCmdFindNext) {
            action->setEnabled(hasText);
        }
        if (const std::optional<bool> checked = document_.IsCommandChecked(id)) {
            action->setChecked(*checked);
        }
    }
    actions_.value(kCmdToggleToolbar)->setChecked(toolbar_->isVisible());
    actions_.value(kCmdToggleStatusBar)->setChecked(statusBar()->isVisible());
}

void CMainFrame::OnDocumentUpdated() {
    view_->OnUpdate();
    RefreshCommandStates();
}

void CMainFrame::OpenFile(const QString& path) {
    if (document_.OpenFile(path.toStdString())) {
        // The document's own path: made absolute, so the entry opens from anywhere.
        RememberRecentFile(QString::fromStdString(document_.FilePath()));
    }
    RefreshCommandStates();
}

void CMainFrame::RememberRecentFile(const QString& path) {
    QSettings settings;
    QStringList files = settings.value("recentFiles").toStringList();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFiles) {
        files.removeLast();
    }
    settings.setValue("recentFiles", files);
    FillRecentFiles();
}

void CMainFrame::FillRecentFiles() {
    qDeleteAll(recentActions_);
    recentActions_.clear();
    const QStringList files = QSettings().value("recentFiles").toStringList();
    for (qsizetype i = 0; i < files.size() && i < kRecentFiles; ++i) {
        auto* action = new QAction(QString("&%1 %2").arg(i + 1).arg(files[i]), this);
        const QString path = files[i];
        connect(action, &QAction::triggered, this, [this, path] { OpenFile(path); });
        fileMenu_->insertAction(recentSeparator_, action);
        recentActions_ << action;
    }
}

void CMainFrame::ShowAbout() {
    QMessageBox about(this);
    about.setWindowTitle("About Tolvane");
    about.setIconPixmap(QIcon(":/icons/tolvane.svg").pixmap(48, 48));
    about.setText("Tolvane Version 3.0");
    about.setStandardButtons(QMessageBox::Ok);
    about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Cancel, or a save that failed, keeps the window and the changes.
    if (document_.Close()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace tolvane
