// What the editor dialog tests share: driving modal windows from inside their own event loops,
// reading a list's rows as shown, and a document on the demo module under a main window with the
// window's own message boxes and dialogs.
#pragma once

#include "DemoImage.h"
#include "document/CZemrixDoc.h"
#include "image/MemoryModule.h"
#include "shell/CMainFrame.h"
#include "shell/QtUserServices.h"
#include "support/ScriptedUserServices.h"
#include "widgets/CListViewEx.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tolvane {

// Runs the action on the next modal window that comes up over the one up now, from inside its
// own event loop. A window of another kind is closed, so that a failing test does not hang.
template <typename Window> void WhenModal(std::function<void(Window*)> action) {
    QWidget* under = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, under, action, attempts = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if ((modal == nullptr || modal == under) && ++attempts < 500) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        auto* window = qobject_cast<Window*>(modal);
        if (window == nullptr && modal != nullptr && modal != under) {
            modal->close();
        }
        ASSERT_NE(window, nullptr) << "no " << Window::staticMetaObject.className() << " came up";
        action(window);
    });
    timer->start(5);
}

// Closes the message box that the next step shows, and keeps its text.
inline std::shared_ptr<std::string> CloseNextBox() {
    auto text = std::make_shared<std::string>();
    WhenModal<QMessageBox>([text](QMessageBox* box) {
        *text = box->text().toStdString();
        box->accept();
    });
    return text;
}

// The cells of a row as shown, "a / b / c".
inline std::string Row(const CListViewEx* list, int row) {
    QStringList texts;
    for (int column = 0; column < list->model()->columnCount(); ++column) {
        texts << list->CellText(row, column);
    }
    return texts.join(" / ").toStdString();
}

class DemoDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { OpenDemo(); }
    void OpenDemo() {
        ScriptedUserServices quiet;
        Open(BuildDemoImage(quiet));
    }
    void Open(const std::vector<uint8_t>& bytes) {
        const std::string path = dir_.filePath("site.mem").toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(doc_.OpenFile(path));
    }
    // The document's lists as the image holds them now.
    UnitConfiguration Unpacked() {
        ScriptedUserServices quiet;
        MemoryModule image(quiet);
        image.LoadBytes(doc_.Image().GetBytes());
        UnitConfiguration unit;
        image.Unpack(unit);
        return unit;
    }

    QTemporaryDir dir_;
    QtUserServices ui_;
    CZemrixDoc doc_{ui_, dir_.path().toStdString()};
    CMainFrame frame_{doc_};
};

} // namespace tolvane
