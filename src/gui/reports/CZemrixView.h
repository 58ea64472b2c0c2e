// The report view: a read-only text window showing the document's report in a fixed-pitch font,
// wrapped at the printable width of the page on screen as on paper, with copy, select all, find
// and printing.
#pragma once

#include <QPageLayout>
#include <QTextEdit>

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

private:
    static QPageLayout WithOurMargins(QPageLayout layout);
    void ApplyPageWidth();

    CZemrixDoc& document_;
    QPageLayout pageLayout_;
    QString lastFind_;
    bool lastMatchCase_ = false;
    bool lastForward_ = true;
};

} // namespace tolvane
