// "Edit Individual Time Zone": the four periods of one time zone, each a begin and an end time of
// hour and minute, and the days it holds on.
#pragma once

#include "editors/CGridDlg.h"

namespace tolvane {

struct TimeZone;
class WrappingNumberField;

class CTimeZoneDlg : public CGridDlg {
    Q_OBJECT

public:
    // OK writes the fields into zone.
    CTimeZoneDlg(TimeZone& zone, UserServices& ui, QWidget* parent = nullptr);

    // Field f in the editor's order: period f / 4, then its begin hour, begin minute, end hour and
    // end minute.
    WrappingNumberField* TimeField(int field) const {
        return times_.at(static_cast<std::size_t>(field));
    }
    // Sunday to Saturday, then Holiday.
    QCheckBox* DayBox(int day) const { return CheckBoxAt(day); }

protected:
    std::optional<FieldRefusal> Read(std::span<const std::string> numbers,
                                     std::span<const bool> ticked) override;

private:
    TimeZone& zone_;
    std::vector<WrappingNumberField*> times_;
};

} // namespace tolvane
