#include "comm/DialingLocation.h"

namespace tolvane {

namespace {

// The keys of a number, without the blanks and dashes that only make it readable.
std::string Keys(const std::string& text) {
    std::string keys;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '*' || c == '#') {
            keys += c;
        }
    }
    return keys;
}

void Append(TranslatedNumber& number, const std::string& dialed, const std::string& shown) {
    if (shown.empty()) {
        return;
    }
    number.dialable += dialed;
    number.displayable += (number.displayable.empty() ? "" : " ") + shown;
}

} // namespace

TranslatedNumber DialingLocation::Translate(const std::string& canonical) const {
    std::string country;
    std::string area;
    std::string subscriber = canonical;
    if (canonical.starts_with('+')) {
        const std::size_t blank = canonical.find(' ');
        country = canonical.substr(1, blank == std::string::npos ? blank : blank - 1);
        subscriber = blank == std::string::npos ? "" : canonical.substr(blank + 1);
        const std::size_t close = subscriber.find(')');
        if (subscriber.starts_with('(') && close != std::string::npos) {
            area = subscriber.substr(1, close - 1);
            const std::size_t rest = subscriber.find_first_not_of(' ', close + 1);
            subscriber = rest == std::string::npos ? "" : subscriber.substr(rest);
        }
    }
    TranslatedNumber number;
    Append(number, outsideLinePrefix, outsideLinePrefix);
    const std::string areaShown = area.empty() ? "" : "(" + area + ")";
    if (!country.empty() && country != countryCode) {
        Append(number, internationalPrefix, internationalPrefix);
        Append(number, Keys(country), country);
        Append(number, Keys(area), areaShown);
    } else if (!area.empty() && area != areaCode) {
        Append(number, longDistancePrefix, longDistancePrefix);
        Append(number, Keys(area), areaShown);
    }
    Append(number, Keys(subscriber), subscriber);
    return number;
}

} // namespace tolvane
