// The find dialog of the report view: the text, match case, direction, and Find Next.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tolvane {

class CFindDialog : public QDialog {
    Q_OBJECT

public:
    CFindDialog(const QString& text, bool matchCase, bool forward, QWidget* parent = nullptr);

signals:
    void FindNext(const QString& text, bool matchCase, bool forward);

private:
    QLineEdit* text_;
    QCheckBox* matchCase_;
    QRadioButton* down_;
};

} // namespace tolvane
