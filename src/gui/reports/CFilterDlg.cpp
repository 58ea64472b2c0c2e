#include "reports/CFilterDlg.h"

#include "support/UserServices.h"
#include "reports/EventLogFilter.h"
#include "reports/EventTime.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QSpinBox* Spin(int minimum, int maximum, int value) {
    auto* spin = new QSpinBox;
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setAccelerated(true);
    return spin;
}

EventTime TimeOf(const CFilterDlg::DateFields& fields) {
    return {fields.year->value(), fields.month->value(),  fields.day->value(),
            fields.hour->value(), fields.minute->value(), 0};
}

} // namespace

CFilterDlg::CFilterDlg(EventLogFilter& filter, UserServices& ui, QWidget* parent)
    : QDialog(parent), filter_(filter), ui_(ui) {
    setWindowTitle("Event Log Selection Filter");

    // Date range.
    byDate_ = new QCheckBox("Select by Date");
    byDate_->setChecked(filter.selectByDate);
    dateControls_ = new QWidget;
    auto* dateRows = new QVBoxLayout(dateControls_);
    dateRows->setContentsMargins(0, 0, 0, 0);
    dateRows->addWidget(DateRow("Begin Date", begin_, filter.begin));
    dateRows->addWidget(DateRow("End Date", end_, filter.end));
    auto* dateGroup = new QGroupBox("Date Range");
    auto* dateLayout = new QVBoxLayout(dateGroup);
    dateLayout->addWidget(byDate_);
    dateLayout->addWidget(dateControls_);

    // Name.
    byName_ = new QCheckBox("Select by Name");
    byName_->setChecked(filter.selectByName);
    name_ = new QLineEdit(QString::fromStdString(filter.name));
    name_->setMaxLength(static_cast<int>(EventLogFilter::kMaxNameLength));
    auto* nameGroup = new QGroupBox("Name");
    auto* nameLayout = new QVBoxLayout(nameGroup);
    nameLayout->addWidget(byName_);
    nameLayout->addWidget(name_);

    // Channel.
    byChannel_ = new QCheckBox("Select by Channel");
    byChannel_->setChecked(filter.selectByChannel);
    auto* channelGroup = new QGroupBox("Channel");
    auto* channelLayout = new QGridLayout(channelGroup);
    channelLayout->addWidget(byChannel_, 0, 0, 1, 2);
    for (int c = 0; c < 4; ++c) {
        channels_[static_cast<std::size_t>(c)] =
            new QCheckBox(QString("Channel %1").arg(QChar('A' + c)));
        channels_[static_cast<std::size_t>(c)]->setChecked(
            filter.channels[static_cast<std::size_t>(c)]);
        channelLayout->addWidget(channels_[static_cast<std::size_t>(c)], 1 + c / 2, c % 2);
    }

    // Device type.
    byDevice_ = new QCheckBox("Select by Device Type");
    byDevice_->setChecked(filter.selectByDeviceType);
    auto* deviceGroup = new QGroupBox("Device Type");
    auto* deviceLayout = new QGridLayout(deviceGroup);
    deviceLayout->addWidget(byDevice_, 0, 0, 1, 2);
    const std::array<const char*, 4> deviceNames{"Single Transmitter", "Block Transmitter",
                                                 "Block Card", "Entry Code"};
    for (int d = 0; d < 4; ++d) {
        devices_[static_cast<std::size_t>(d)] =
            new QRadioButton(deviceNames[static_cast<std::size_t>(d)]);
        deviceLayout->addWidget(devices_[static_cast<std::size_t>(d)], 1 + d / 2, d % 2);
    }
    if (filter.deviceType >= 0 && filter.deviceType < 4) {
        devices_[static_cast<std::size_t>(filter.deviceType)]->setChecked(true);
    }
    code_ = new QLineEdit(QString::number(filter.code));
    code_->setMaxLength(8);
    code_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{1,8}"), this));
    deviceLayout->addWidget(new QLabel("Code"), 3, 0);
    deviceLayout->addWidget(code_, 3, 1);

    for (QCheckBox* box : {byDate_, byName_, byChannel_, byDevice_}) {
        connect(box, &QCheckBox::toggled, this, &CFilterDlg::ApplyEnables);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFilterDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFilterDlg::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(dateGroup, 0, 0, 1, 2);
    layout->addWidget(nameGroup, 1, 0);
    layout->addWidget(channelGroup, 1, 1);
    layout->addWidget(deviceGroup, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);
    ApplyEnables();
}

QWidget* CFilterDlg::DateRow(const char* title, DateFields& fields, const EventTime& time) {
    fields.month = Spin(1, 12, time.month);
    fields.day = Spin(1, 31, time.day);
    // Any year a log record can carry.
    fields.year = Spin(1990, 2245, time.year);
    fields.hour = Spin(0, 23, time.hour);
    fields.minute = Spin(0, 59, time.minute);
    auto* row = new QWidget;
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(title), 1, 0);
    const std::array<std::pair<const char*, QSpinBox*>, 5> columns{{{"Month", fields.month},
                                                                    {"Day", fields.day},
                                                                    {"Year", fields.year},
                                                                    {"Hour", fields.hour},
                                                                    {"Min", fields.minute}}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        grid->addWidget(new QLabel(columns[i].first), 0, static_cast<int>(i) + 1);
        grid->addWidget(columns[i].second, 1, static_cast<int>(i) + 1);
    }
    return row;
}

void CFilterDlg::ApplyEnables() {
    dateControls_->setEnabled(byDate_->isChecked());
    name_->setEnabled(byName_->isChecked());
    for (QCheckBox* channel : channels_) {
        channel->setEnabled(byChannel_->isChecked());
    }
    for (QRadioButton* device : devices_) {
        device->setEnabled(byDevice_->isChecked());
    }
    code_->setEnabled(byDevice_->isChecked());
}

void CFilterDlg::accept() {
    const EventTime begin = TimeOf(begin_);
    const EventTime end = TimeOf(end_);
    // The range must make sense even while the date test is off: it is what the test will use
    // when it is turned on.
    if (!(begin < end)) {
        ui_.ShowMessage("The begin time must be less than the end time", MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return;
    }
    filter_.selectByDate = byDate_->isChecked();
    filter_.selectByName = byName_->isChecked();
    filter_.selectByChannel = byChannel_->isChecked();
    filter_.selectByDeviceType = byDevice_->isChecked();
    filter_.begin = begin;
    filter_.end = end;
    filter_.name = name_->text().toStdString();
    for (std::size_t c = 0; c < 4; ++c) {
        filter_.channels[c] = channels_[c]->isChecked();
    }
    for (int d = 0; d < 4; ++d) {
        if (devices_[static_cast<std::size_t>(d)]->isChecked()) {
            filter_.deviceType = d;
        }
    }
    filter_.code = code_->text().toUInt();
    QDialog::accept();
}

} // namespace tolvane
