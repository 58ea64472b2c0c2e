// The small dialogs of the editors: labelled fields over OK and Cancel. OK hands the fields to the
// editor's rule; a refusal is shown, the field it is about gets the focus, and the dialog stays
// open with what the user typed.
#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

#include <optional>
#include <string>

class QFormLayout;

namespace tolvane {

class UserServices;

class CFieldDlg : public QDialog {
    Q_OBJECT

public:
    void accept() override;

protected:
    CFieldDlg(const QString& title, UserServices& ui, QWidget* parent);

    // A refusal that starts with the label, less its colon, is about this field. The field is
    // wide enough for that many capitals.
    void AddField(const QString& label, QWidget* field, int characters = 16);
    void AddRow(QWidget* widget);
    // The field that refusals naming no field are about.
    void SetOtherRefusalsField(QWidget* field) { otherRefusals_ = field; }

    // Reads the fields through the editor's rule: nullopt when the dialog may close with OK.
    virtual std::optional<std::string> Check() = 0;

private:
    UserServices& ui_;
    QFormLayout* form_;
    QList<QPair<QString, QWidget*>> fields_;
    QWidget* otherRefusals_ = nullptr;
};

} // namespace tolvane
