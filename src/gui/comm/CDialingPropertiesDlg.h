// "Dialing Properties": the current dialing location, edited. OK hands the edit to the setup,
// which keeps it or says why not; the dialog stays open after a refusal with what was typed.
#pragma once

#include "comm/DialingLocation.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace tolvane {

class CommSetup;

class CDialingPropertiesDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNameLimit = 31;
    static constexpr int kCodeLimit = 5;
    static constexpr int kPrefixLimit = 8;

    explicit CDialingPropertiesDlg(CommSetup& setup, QWidget* parent = nullptr);

    // The location as the fields have it.
    DialingLocation Location() const;

    QLineEdit* NameField() const { return name_; }
    QLineEdit* CountryCodeField() const { return countryCode_; }
    QLineEdit* AreaCodeField() const { return areaCode_; }
    QLineEdit* OutsideLineField() const { return outsideLine_; }
    QLineEdit* LongDistanceField() const { return longDistance_; }
    QLineEdit* InternationalField() const { return international_; }
    QRadioButton* PulseButton() const { return pulse_; }

    void accept() override;

private:
    CommSetup& setup_;
    QLineEdit* name_;
    QLineEdit* countryCode_;
    QLineEdit* areaCode_;
    QLineEdit* outsideLine_;
    QLineEdit* longDistance_;
    QLineEdit* international_;
    QRadioButton* tone_;
    QRadioButton* pulse_;
};

} // namespace tolvane
