#include "config/HolidayEditor.h"

#include <array>

namespace tolvane {

void HolidayEditor::Load(const HolidayTable& everyYear, const ExpiringHolidayTable& once) {
    everyYear_.clear();
    once_.clear();
    for (std::size_t slot = 0; slot < kLimit; ++slot) {
        if (everyYear.month[slot] != 0 && everyYear.day[slot] != 0) {
            everyYear_.push_back({0, everyYear.month[slot], everyYear.day[slot]});
        }
        if (once.month[slot] != 0 && once.day[slot] != 0) {
            once_.push_back({once.year[slot], once.month[slot], once.day[slot]});
        }
    }
}

void HolidayEditor::Store(HolidayTable& everyYear, ExpiringHolidayTable& once) const {
    everyYear = HolidayTable{};
    once = ExpiringHolidayTable{};
    for (std::size_t slot = 0; slot < everyYear_.size() && slot < kLimit; ++slot) {
        everyYear.month[slot] = everyYear_[slot].month;
        everyYear.day[slot] = everyYear_[slot].day;
    }
    for (std::size_t slot = 0; slot < once_.size() && slot < kLimit; ++slot) {
        once.year[slot] = once_[slot].year;
        once.month[slot] = once_[slot].month;
        once.day[slot] = once_[slot].day;
    }
}

const std::vector<Holiday>& HolidayEditor::List(HolidayKind kind) const {
    return kind == HolidayKind::EveryYear ? everyYear_ : once_;
}

std::vector<Holiday>& HolidayEditor::ListOf(HolidayKind kind) {
    return kind == HolidayKind::EveryYear ? everyYear_ : once_;
}

std::optional<std::string> HolidayEditor::CheckRoom(HolidayKind kind) const {
    if (List(kind).size() < kLimit) {
        return std::nullopt;
    }
    return "You may not exceed " + std::to_string(kLimit) +
           (kind == HolidayKind::EveryYear ? " non expiring holidays" : " expiring holidays");
}

std::optional<std::string> HolidayEditor::Add(HolidayKind kind, Holiday holiday) {
    if (auto refusal = CheckRoom(kind)) {
        return refusal;
    }
    if (kind == HolidayKind::EveryYear) {
        holiday.year = 0;
    }
    ListOf(kind).push_back(holiday);
    return std::nullopt;
}

bool HolidayEditor::Edit(HolidayKind kind, std::size_t index, Holiday holiday) {
    std::vector<Holiday>& list = ListOf(kind);
    if (index >= list.size()) {
        return false;
    }
    if (kind == HolidayKind::EveryYear) {
        holiday.year = 0;
    }
    list[index] = holiday;
    return true;
}

bool HolidayEditor::Remove(HolidayKind kind, std::size_t index) {
    std::vector<Holiday>& list = ListOf(kind);
    if (index >= list.size()) {
        return false;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::string HolidayEditor::MonthName(int month) {
    static constexpr std::array<const char*, 12> kMonths{
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    return month >= 1 && month <= 12 ? kMonths[static_cast<std::size_t>(month - 1)] : "";
}

} // namespace tolvane
