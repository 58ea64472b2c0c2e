// "Communication Setup": the modem that dials, the dialing location, whether the number is
// dialed as long distance and with its area code, and the number as it will be dialed. The
// dialog shows the CommSetup and hands every choice to it; it initialises the setup once it is on
// the screen, so that what goes wrong there is shown over it.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tolvane {

class CommSetup;

class CCommSetupDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCommSetupDlg(CommSetup& setup, QWidget* parent = nullptr);

    QComboBox* ModemField() const { return modem_; }
    QComboBox* LocationField() const { return location_; }
    QPushButton* PropertiesButton() const { return properties_; }
    QCheckBox* LongDistanceBox() const { return longDistance_; }
    QCheckBox* IncludeAreaBox() const { return includeArea_; }
    QLabel* NumberLabel() const { return number_; }
    QPushButton* DialButton() const { return dial_; }

    // "Dial": the setup keeps the choices, then the dialog closes.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Initialise();
    void ShowLists();
    void ShowChoices();
    void EditLocation();

    CommSetup& setup_;
    QComboBox* modem_;
    QComboBox* location_;
    QPushButton* properties_;
    QCheckBox* longDistance_;
    QCheckBox* includeArea_;
    QLabel* number_;
    QPushButton* dial_;
    bool initialised_ = false;
};

} // namespace tolvane
