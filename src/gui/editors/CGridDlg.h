// The dialogs that edit a whole table at once (validation groups, door schedules, one time zone):
// number fields and check boxes over OK and Cancel. OK hands every field's text and every box's
// tick, in the order they were added, to the editor's rule; a refusal names a field by its place
// in that order, which is shown, focused, and the dialog stays open with what the user typed.
#pragma once

#include "config/NumberField.h"

#include <QDialog>

#include <optional>
#include <span>
#include <string>
#include <vector>

class QCheckBox;
class QLayout;
class QLineEdit;

namespace tolvane {

class UserServices;

class CGridDlg : public QDialog {
    Q_OBJECT

public:
    void accept() override;

protected:
    CGridDlg(const QString& title, UserServices& ui, QWidget* parent);

    // The dialog's fields and boxes, laid out above OK and Cancel.
    void SetContents(QLayout* contents);
    void AddNumberField(QLineEdit* field) { numbers_.push_back(field); }
    void AddCheckBox(QCheckBox* box) { boxes_.push_back(box); }
    QLineEdit* NumberFieldAt(int index) const {
        return numbers_.at(static_cast<std::size_t>(index));
    }
    QCheckBox* CheckBoxAt(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }

    // Reads the fields through the editor's rule: nullopt when the dialog may close with OK.
    virtual std::optional<FieldRefusal> Read(std::span<const std::string> numbers,
                                             std::span<const bool> ticked) = 0;

private:
    UserServices& ui_;
    std::vector<QLineEdit*> numbers_;
    std::vector<QCheckBox*> boxes_;
};

} // namespace tolvane
