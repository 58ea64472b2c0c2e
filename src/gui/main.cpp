// tolvane: the desktop program.
#include "sites/ProfileFile.h"
#include "document/CZemrixDoc.h"
#include "reports/CZemrixView.h"
#include "shell/CMainFrame.h"
#include "shell/DemoSetup.h"
#include "shell/QtUserServices.h"
#include "shell/StartOptions.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

// Qt gives up hard without a display; say plainly why instead.
bool HasDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    tolvane::StartOptions options;
    if (const std::optional<int> status = tolvane::StartOptions::Parse(
            std::vector<std::string>(argv + 1, argv + argc), options, std::cout, std::cerr)) {
        return *status;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr, "tolvane: no display to open a window on (neither DISPLAY nor "
                             "WAYLAND_DISPLAY is set).\nStart it from a desktop session, or use "
                             "tolvane-cli for the memory module tools.\n");
        return 1;
    }
    // A line that hangs up is a failed write, reported as such, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    Q_INIT_RESOURCE(tolvane); // the icons live in the static library
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tolvane");
    QApplication::setOrganizationName("Tolvane");
    QApplication::setApplicationVersion(TOLVANE_VERSION);
    QApplication::setWindowIcon(QIcon(":/icons/tolvane.svg"));

    using namespace tolvane;
    QtUserServices ui;
    DemoEnvironment demoEnvironment;
    const std::string configDirectory =
        options.demo ? demoEnvironment.Start(ui) : ConfigDirectory();
    ui.SetConfigDirectory(configDirectory);
    CZemrixDoc document(ui, configDirectory);
    CMainFrame frame(document);
    ui.SetWindow(&frame);
    ui.SetViewUpdater([&frame] { frame.OnDocumentUpdated(); });
    ui.SetTitleSetter([&frame](const std::string& title) {
        frame.setWindowTitle(QString::fromStdString(title));
    });
    frame.show();

    document.Create();
    if (!options.file.empty()) {
        frame.OpenFile(QString::fromLocal8Bit(options.file));
    }
    frame.setWindowTitle(QString::fromStdString(document.WindowTitle()));
    frame.OnDocumentUpdated();
    return QApplication::exec();
}
