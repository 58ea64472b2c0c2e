// The report view over a real document with the demo image: read-only text that only the
// document replaces, find with wrap-around and case, the fixed-pitch font and page-width wrap, and
// printing the event log to a PDF with the report margins.
#include "DemoImage.h"
#include "document/CZemrixDoc.h"
#include "document/CommandIds.h"
#include "reports/CZemrixView.h"
#include "support/ScriptedUserServices.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPrinter>
#include <QTextBlock>
#include <QTextLayout>
#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace tolvane {
namespace {

class ReportViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        doc_ = std::make_unique<CZemrixDoc>(ui_, dir_.path().toStdString(),
                                            [] { return EventTime{2026, 3, 15, 10, 30, 0}; });
        view_ = std::make_unique<CZemrixView>(*doc_);
        view_->resize(900, 600);
    }

    void OpenDemo() {
        ScriptedUserServices quiet;
        const std::vector<uint8_t> bytes = BuildDemoImage(quiet);
        const std::string path = dir_.filePath("harbour.mem").toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(doc_->OpenFile(path));
        view_->OnUpdate(); // as the window does when the document says its report changed
    }
    QString ReportText() const { return QString::fromLatin1(doc_->ReportText()); }

    QTemporaryDir dir_;
    ScriptedUserServices ui_;
    std::unique_ptr<CZemrixDoc> doc_;
    std::unique_ptr<CZemrixView> view_;
};

TEST_F(ReportViewTest, TypingChangesNothingAndOnlyTheDocumentReplacesTheText) {
    EXPECT_TRUE(view_->toPlainText().isEmpty());
    OpenDemo();
    EXPECT_TRUE(view_->toPlainText().startsWith("HARBOUR VIEW APARTMENTS"));
    EXPECT_EQ(view_->toPlainText(), ReportText());
    QApplication::clipboard()->setText("pasted");
    for (const auto& [key, modifiers, text] :
         std::vector<std::tuple<int, int, QString>>{{Qt::Key_X, 0, "x"},
                                                    {Qt::Key_Return, 0, "\r"},
                                                    {Qt::Key_V, Qt::ControlModifier, ""},
                                                    {Qt::Key_A, Qt::ControlModifier, ""},
                                                    {Qt::Key_Delete, 0, ""},
                                                    {Qt::Key_X, Qt::ControlModifier, ""}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(view_.get(), &press);
    }
    EXPECT_EQ(view_->toPlainText(), ReportText());
    EXPECT_FALSE(view_->document()->isModified());

    // Whatever the window held, a new report takes its place whole.
    view_->append("left over");
    ASSERT_TRUE(doc_->OnCommand(kCmdEventLogReport));
    view_->OnUpdate();
    EXPECT_EQ(view_->toPlainText(), ReportText());
    EXPECT_TRUE(view_->toPlainText().startsWith("Event Log Report\n\n"));
    EXPECT_FALSE(view_->document()->isModified());
    EXPECT_TRUE(view_->isReadOnly());
}

TEST_F(ReportViewTest, FindWrapsAroundAndRespectsCase) {
    OpenDemo();
    const QString text = view_->toPlainText();
    const qsizetype first = text.indexOf("Channel [");
    const qsizetype second = text.indexOf("Channel [", first + 1);
    const qsizetype last = text.lastIndexOf("Channel [");
    ASSERT_GE(first, 0);
    // Forwards, back, then backwards from the first it starts again from the bottom and forwards
    // from the top.
    const std::vector<std::pair<bool, qsizetype>> steps{
        {true, first}, {true, second}, {false, first}, {false, last}, {true, first}};
    for (const auto& [forward, start] : steps) {
        ASSERT_TRUE(view_->FindText("Channel [", true, forward));
        EXPECT_EQ(view_->textCursor().selectionStart(), start);
        EXPECT_EQ(view_->textCursor().selectedText(), "Channel [");
    }
    ASSERT_TRUE(text.contains("Main Gate") && !text.contains("main gate"));
    EXPECT_FALSE(view_->FindText("main gate", true, true));
    ASSERT_TRUE(view_->FindText("main gate", false, true));
    EXPECT_EQ(view_->textCursor().selectedText(), "Main Gate");
    EXPECT_FALSE(view_->FindText("", false, true));
    EXPECT_EQ(view_->toPlainText(), text);
}

// Where each line of a block breaks, as offsets into the block's text.
std::vector<int> LineStarts(const QTextBlock& block) {
    std::vector<int> starts;
    for (int i = 0; i < block.layout()->lineCount(); ++i) {
        starts.push_back(block.layout()->lineAt(i).textStart());
    }
    return starts;
}

TEST_F(ReportViewTest, FixedPitchNinePointBrokenWhereThePageBreaks) {
    EXPECT_TRUE(QFontInfo(view_->font()).fixedPitch());
    EXPECT_EQ(view_->font().pointSize(), 9);
    EXPECT_EQ(view_->document()->defaultFont(), view_->font());

    // The event log puts its first event on the separator's line, and its event lines are longer
    // than a page is wide: on screen each must break at the very column the paper breaks it, so
    // that what the user reads is what the printout shows, whatever the window's own width.
    OpenDemo();
    ASSERT_TRUE(doc_->OnCommand(kCmdEventLogReport));
    view_->OnUpdate();
    view_->resize(300, 600);
    view_->show();
    view_->document()->documentLayout()->documentSize(); // lays the text out
    QPrinter printer(QPrinter::HighResolution);
    const std::unique_ptr<QTextDocument> page = view_->PageDocument(printer);
    page->documentLayout()->documentSize();
    const QTextBlock separator = view_->document()->findBlockByNumber(3);
    ASSERT_TRUE(separator.text().startsWith(QString(96, '-')));
    const std::vector<int> onScreen = LineStarts(separator);
    ASSERT_GE(onScreen.size(), 2U);
    EXPECT_EQ(onScreen, LineStarts(page->findBlockByNumber(3)));
}

TEST_F(ReportViewTest, PrintsTheEventLogOnSeveralPagesWithTheReportMargins) {
    OpenDemo();
    ASSERT_TRUE(doc_->OnCommand(kCmdEventLogReport));
    view_->OnUpdate();
    const int lines = static_cast<int>(view_->toPlainText().count('\n'));
    ASSERT_GT(lines, 400);

    const QString pdf = dir_.filePath("events.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    view_->PrintTo(printer);

    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    for (const double side : {margins.left(), margins.top(), margins.right(), margins.bottom()}) {
        EXPECT_NEAR(side, 13.229, 0.01);
    }

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("%PDF"));
    const qsizetype pages = bytes.count("/Type /Page") - bytes.count("/Type /Pages");
    // A 9-point line is an eighth of an inch: some 70 to 85 lines a page.
    EXPECT_GE(pages, lines / 90);
    EXPECT_LE(pages, lines / 60 + 1);
}

} // namespace
} // namespace tolvane
