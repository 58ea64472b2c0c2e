// Window timings, measured in the running program: from the Event Log Report command to the
// painted text on the largest module, from the start of the application to the first painted
// window, and from the Entry Codes and Telephone Entry Numbers commands to their painted lists on
// 256 KB modules whose free pages all hold entry codes, or directory records. Run under a display
// (Xvfb will do); prints milliseconds.
#include "FullLogImage.h"
#include "ImageBuilder.h"
#include "SilentUser.h"
#include "config/DirectoryEditor.h"
#include "config/EntryCodeEditor.h"
#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "editors/CListEditorDlg.h"
#include "image/SystemAreaLayout.h"
#include "reports/CZemrixView.h"
#include "shell/CMainFrame.h"
#include "shell/QtUserServices.h"
#include "widgets/CListCtrlEx.h"
#include "widgets/CListViewEx.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

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

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Every free page of a 256 KB module filled with entry codes, or with directory records (all but
// the one slot the directory keeps free).
std::vector<uint8_t> FullEditorImage(bool tenants) {
    using namespace tolvane;
    ImageBuilder builder(0x40);
    if (tenants) {
        const int recordPages = builder.PageCount() - 1; // and the name page
        builder.AddDirectory(recordPages,
                             static_cast<uint16_t>(recordPages * layout::kDirectorySlotsPerPage));
    }
    SilentUser ui;
    MemoryModule image(ui);
    image.LoadBytes(builder.Bytes());
    UnitConfiguration unit;
    image.Unpack(unit);
    if (tenants) {
        for (int code = 0; code + 1 < image.GetDirectoryCapacity(); ++code) {
            auto entry = std::make_unique<DirectoryEntry>();
            DirectoryEditor::ReadFields(std::to_string(code), "TENANT " + std::to_string(code),
                                        "(617) 555-0100", code % 2 == 0, *entry);
            unit.directory.Append(std::move(entry));
        }
    } else {
        for (int i = 0; i < image.GetFreePageCount() * layout::kEntryCodeSlots; ++i) {
            EntryCode code;
            EntryCodeEditor::ReadFields(std::to_string(10000000 + i * 3), std::to_string(i % 16),
                                        i % 5 != 0, code);
            unit.entryCodes.push_back(code);
        }
    }
    image.Pack(unit);
    return image.GetBytes();
}

// Times a list editor of the Setup menu: from the command to its painted list, then a Remove in
// the middle of the list until it is painted again; then cancels it.
class EditorTiming : public QObject {
public:
    qint64 open = -1;
    qint64 remove = -1;
    int rows = 0;

    void Run(tolvane::CMainFrame& frame, int command) {
        open = remove = -1;
        QApplication::instance()->installEventFilter(this);
        timer_.start();
        frame.RunCommand(command);
        QApplication::instance()->removeEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* list = qobject_cast<tolvane::CListViewEx*>(watched->parent());
        if (open < 0 && event->type() == QEvent::Paint && list != nullptr &&
            watched == list->viewport()) {
            open = timer_.elapsed();
            QTimer::singleShot(0, list, [this, list] { RemoveAndClose(list); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void RemoveAndClose(tolvane::CListViewEx* list) {
        auto* dialog = qobject_cast<tolvane::CListEditorDlg*>(list->window());
        rows = list->Rows()->rowCount();
        list->SelectRow(rows / 2);
        list->viewport()->repaint();
        timer_.restart();
        dialog->RemoveButton()->click();
        list->viewport()->repaint();
        remove = timer_.elapsed();
        dialog->reject();
    }

    QElapsedTimer timer_;
};

// The same codes as rows of the item list, for comparison: every row an item of its own.
qint64 ItemListFill(const tolvane::EntryCodeArray& codes) {
    using namespace tolvane;
    QElapsedTimer timer;
    timer.start();
    CListCtrlEx list;
    list.SetColumns({"Entry Code", "Val Gr", "Active"}, {100, 75, 74});
    for (const EntryCode& code : codes) {
        list.AddRow({QString::fromStdString(EntryCodeEditor::CodeText(code)),
                     QString::number(code.validationGroup), code.active != 0 ? "Yes" : "No"});
    }
    list.show();
    list.viewport()->repaint();
    return timer.elapsed();
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
    WriteFile(image, FullLogImage());

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

    for (const bool tenants : {false, true}) {
        const std::string path = std::string(directory) + (tenants ? "/tenants.mem" : "/codes.mem");
        WriteFile(path, FullEditorImage(tenants));
        frame.OpenFile(QString::fromStdString(path));
        EditorTiming timing;
        for (int round = 0; round < 3; ++round) {
            timing.Run(frame, tenants ? kCmdTelephoneEntries : kCmdEntryCodes);
            std::printf("%s: command to painted list %lld ms, Remove in the middle %lld ms "
                        "(%d rows)\n",
                        tenants ? "telephone directory" : "entry codes",
                        static_cast<long long>(timing.open), static_cast<long long>(timing.remove),
                        timing.rows);
        }
        if (!tenants) {
            std::printf("the same entry codes as items, filled and painted: %lld ms\n",
                        static_cast<long long>(ItemListFill(document.Lists().entryCodes)));
        }
        std::remove(path.c_str());
    }
    std::remove(image.c_str());
    std::remove((std::string(directory) + "/gatelist.ini").c_str());
    ::rmdir(directory);
    return 0;
}
