// "Event Log Selection Filter": the date range, name, channel and device tests of the event log
// report, each group enabled by its own check box.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tolvane {

struct EventLogFilter;
struct EventTime;
class UserServices;

class CFilterDlg : public QDialog {
    Q_OBJECT

public:
    // Month, day, year, hour and minute of one end of the date range.
    struct DateFields {
        QSpinBox* month;
        QSpinBox* day;
        QSpinBox* year;
        QSpinBox* hour;
        QSpinBox* minute;
    };

    CFilterDlg(EventLogFilter& filter, UserServices& ui, QWidget* parent = nullptr);

    void accept() override;

    QCheckBox* SelectByDate() const { return byDate_; }
    QCheckBox* SelectByName() const { return byName_; }
    QCheckBox* SelectByChannel() const { return byChannel_; }
    QCheckBox* SelectByDevice() const { return byDevice_; }
    const DateFields& Begin() const { return begin_; }
    const DateFields& End() const { return end_; }
    QLineEdit* NameField() const { return name_; }
    QCheckBox* Channel(int channel) const { return channels_[static_cast<std::size_t>(channel)]; }
    QRadioButton* Device(int device) const { return devices_[static_cast<std::size_t>(device)]; }
    QLineEdit* CodeField() const { return code_; }

private:
    QWidget* DateRow(const char* title, DateFields& fields, const EventTime& time);
    void ApplyEnables();

    EventLogFilter& filter_;
    UserServices& ui_;
    QCheckBox* byDate_;
    QCheckBox* byName_;
    QCheckBox* byChannel_;
    QCheckBox* byDevice_;
    DateFields begin_{};
    DateFields end_{};
    QWidget* dateControls_ = nullptr;
    QLineEdit* name_;
    std::array<QCheckBox*, 4> channels_{};
    std::array<QRadioButton*, 4> devices_{};
    QLineEdit* code_;
};

} // namespace tolvane
