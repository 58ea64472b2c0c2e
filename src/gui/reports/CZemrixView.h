// The report view: a read-only text window showing the document's report in a fixed-pitch font,
// wrapped on screen at the very column where the page breaks its lines, with copy, select all,
// find and printing.
#pragma once

#include <QPageLayout>
#include <QTextEdit>

#include <memory>

class QPrinter;

namespace tolvane {

class CZemrixDoc;

class CZemrixView : public QTextEdit {
    Q_OBJECT

public:
    // 750 twips on every side of the page.
    static constexpr double kMarginMillimetres = 750.0 / 1440.0 * 25.4;

    explicit CZemrixView(CZemrixDoc& document, QWidget* parent = nullptr);

    // The document's report changed: show all of it anew.
    void OnUpdate();

    // Finds text from the cursor on, wrapping around once; false when it is nowhere.
    bool FindText(const QString& text, bool matchCase, bool forward);
    void OnFind();
    void OnFindNext();

    void OnPrint();
    void OnPrintPreview();
    void OnPrintSetup();
    // Lays the report out on the printer's pages with the margins and prints it.
    void PrintTo(QPrinter& printer) const;
    // The report as it goes onto the printer's pages: the printer's paper with our margins, laid
    // out at the printer's resolution.
    std::unique_ptr<QTextDocument> PageDocument(QPrinter& printer) const;
    // How many characters of the report font a line of the page layout takes.
    int PageColumns() const;

private:
    static QPageLayout WithOurMargins(QPageLayout layout);
    static int ColumnsOn(QPrinter& printer, const QFont& font);
    void ApplyPageWidth();

    CZemrixDoc& document_;
    QPageLayout pageLayout_;
    QString lastFind_;
    bool lastMatchCase_ = false;
    bool lastForward_ = true;
};

} // namespace tolvane
