#include "reports/CZemrixView.h"

#include "document/CZemrixDoc.h"
#include "reports/CFindDialog.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

QFont ReportFont() {
    // "Courier New" maps to a metric-compatible face where the font configuration knows one, so
    // columns and page breaks come out as on the unit owner's printouts; else the fixed font.
    QFont font("Courier New");
    font.setPointSize(9);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(9);
    }
    return font;
}

} // namespace

CZemrixView::CZemrixView(CZemrixDoc& source, QWidget* parent)
    : QTextEdit(parent), document_(source) {
    setFont(ReportFont());
    document()->setDefaultFont(ReportFont());
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    pageLayout_ = WithOurMargins(QPrinter().pageLayout());
    ApplyPageWidth();
    OnUpdate();
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QPageLayout CZemrixView::WithOurMargins(QPageLayout layout) {
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres));
    return layout;
}

int CZemrixView::ColumnsOn(QPrinter& printer, const QFont& font) {
    // The screen's font metrics are rounded to whole pixels and the printer's are not, so the
    // same width in inches holds a different number of characters on each; counting the
    // printer's characters is what makes the screen break where the paper does.
    const QFontMetricsF metrics(font, &printer);
    const double width = printer.pageLayout().paintRectPixels(printer.resolution()).width();
    return std::max(1, static_cast<int>(width / metrics.horizontalAdvance(QChar('M'))));
}

int CZemrixView::PageColumns() const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    return ColumnsOn(printer, font());
}

void CZemrixView::ApplyPageWidth() {
    // Room for the page's columns and half a character more, so the screen's own rounding can
    // neither take a column away nor add one; the window's width plays no part.
    const double advance = QFontMetricsF(font(), this).horizontalAdvance(QChar('M'));
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    const double margins = 2 * document()->documentMargin();
    setLineWrapColumnOrWidth(
        static_cast<int>(std::ceil((PageColumns() + 0.5) * advance + margins)));
}

void CZemrixView::OnUpdate() {
    setPlainText(QString::fromLatin1(document_.ReportText().data(),
                                     static_cast<qsizetype>(document_.ReportText().size())));
    document()->setModified(false);
}

bool CZemrixView::FindText(const QString& text, bool matchCase, bool forward) {
    lastFind_ = text;
    lastMatchCase_ = matchCase;
    lastForward_ = forward;
    if (text.isEmpty()) {
        return false;
    }
    QTextDocument::FindFlags flags;
    if (matchCase) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (!forward) {
        flags |= QTextDocument::FindBackward;
    }
    if (find(text, flags)) {
        return true;
    }
    // Once round from the other end, as a find that reached the end of the report.
    QTextCursor cursor = textCursor();
    cursor.movePosition(forward ? QTextCursor::Start : QTextCursor::End);
    setTextCursor(cursor);
    return find(text, flags);
}

void CZemrixView::OnFind() {
    CFindDialog dialog(lastFind_, lastMatchCase_, lastForward_, this);
    connect(&dialog, &CFindDialog::FindNext, this,
            [this, &dialog](const QString& text, bool matchCase, bool forward) {
                if (!FindText(text, matchCase, forward)) {
                    QMessageBox::information(&dialog, "Tolvane",
                                             QString("Cannot find \"%1\".").arg(text));
                }
            });
    dialog.exec();
}

void CZemrixView::OnFindNext() {
    if (lastFind_.isEmpty()) {
        OnFind();
        return;
    }
    if (!FindText(lastFind_, lastMatchCase_, lastForward_)) {
        QMessageBox::information(this, "Tolvane", QString("Cannot find \"%1\".").arg(lastFind_));
    }
}

std::unique_ptr<QTextDocument> CZemrixView::PageDocument(QPrinter& printer) const {
    // The paper the user chose in the print dialog, with our margins.
    printer.setPageLayout(WithOurMargins(printer.pageLayout()));
    // The page's own copy, laid out at the printer's resolution on the paint rectangle inside our
    // margins; with a page size of its own the document adds no margins of its own.
    auto page = std::make_unique<QTextDocument>();
    page->documentLayout()->setPaintDevice(&printer);
    page->setDefaultFont(font());
    page->setDocumentMargin(0);
    page->setPlainText(toPlainText());
    page->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
    return page;
}

void CZemrixView::PrintTo(QPrinter& printer) const {
    PageDocument(printer)->print(&printer);
}

void CZemrixView::OnPrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        PrintTo(printer);
    }
}

void CZemrixView::OnPrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintTo(*target); });
    preview.exec();
}

void CZemrixView::OnPrintSetup() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        // Another paper size moves the line breaks with it; the margins stay ours.
        pageLayout_.setPageSize(printer.pageLayout().pageSize());
        pageLayout_.setOrientation(printer.pageLayout().orientation());
        ApplyPageWidth();
    }
}

} // namespace tolvane
