// The main window: menus, toolbar and status bar over the one report view. It owns no data of
// the program: the document carries out its commands and decides which are enabled and checked;
// the view handles the edit and print commands.
#pragma once

#include <QMainWindow>
#include <QMap>

class QAction;
class QLabel;
class QMenu;

namespace tolvane {

class CZemrixDoc;
class CZemrixView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kRecentFiles = 4;

    explicit CMainFrame(CZemrixDoc& document, QWidget* parent = nullptr);

    CZemrixView* View() const { return view_; }
    QAction* Action(int commandId) const { return actions_.value(commandId); }
    // Runs a command as the menu or toolbar would, then refreshes every command's state.
    void RunCommand(int commandId);
    void RefreshCommandStates();
    // The document's report changed.
    void OnDocumentUpdated();
    // Opens a file as Open does, and keeps it in the recent file list when it loaded.
    void OpenFile(const QString& path);
    void ShowAbout();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateStatusBar();
    void RememberRecentFile(const QString& path);
    void FillRecentFiles();

    CZemrixDoc& document_;
    CZemrixView* view_;
    QMap<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QToolBar* toolbar_ = nullptr;
};

} // namespace tolvane
