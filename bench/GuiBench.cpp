// Window timings, measured in the running program: from the Event Log Report command to the
// painted text on the largest module, and from the start of the application to the first painted
// window. Run under a display (Xvfb will do); prints milliseconds.
#include "FullLogImage.h"
#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "reports/CZemrixView.h"
#include "shell/CMainFrame.h"
#include "shell/QtUserServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

// Notes when the view's text area is painted.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

void WaitForPaint(PaintWatch& watch) {
    watch.painted = false;
    while (!watch.painted) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    Q_INIT_RESOURCE(tolvane);
    QApplication application(argc, argv);
    using namespace tolvane;

    char directory[] = "/tmp/tolvane-guibench-XXXXXX";
    if (::mkdtemp(directory) == nullptr) {
        return 1;
    }
    const std::string image = std::string(directory) + "/full.mem";
    const std::vector<uint8_t> bytes = FullLogImage();
    std::ofstream(image, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    QtUserServices ui;
    CZemrixDoc document(ui, directory);
    CMainFrame frame(document);
    ui.SetWindow(&frame);
    ui.SetViewUpdater([&frame] { frame.OnDocumentUpdated(); });
    PaintWatch watch;
    frame.View()->viewport()->installEventFilter(&watch);
    frame.show();
    document.Create();
    frame.OpenFile(QString::fromStdString(image));
    WaitForPaint(watch);
    std::printf("start-up to first painted window: %lld ms\n",
                static_cast<long long>(sinceStart.elapsed()));

    for (int round = 0; round < 3; ++round) {
        frame.RunCommand(kCmdSystemReport);
        WaitForPaint(watch);
        QElapsedTimer timer;
        timer.start();
        frame.RunCommand(kCmdEventLogReport);
        WaitForPaint(watch);
        std::printf("event log report, command to painted text: %lld ms (%lld lines)\n",
                    static_cast<long long>(timer.elapsed()),
                    static_cast<long long>(frame.View()->document()->blockCount()));
    }
    std::remove(image.c_str());
    std::remove((std::string(directory) + "/gatelist.ini").c_str());
    ::rmdir(directory);
    return 0;
}
