#include "comm/CanonicalNumber.h"

namespace tolvane {

std::string CanonicalNumber(const std::string& areaCode, const std::string& phoneNumber,
                            bool longDistance, bool includeArea) {
    if (longDistance) {
        // Long distance always dials the area code when there is one, whatever "Dial area code"
        // says (the dialog greys it out but keeps its state).
        return areaCode.empty() ? "+1 " + phoneNumber : "+1 (" + areaCode + ") " + phoneNumber;
    }
    return includeArea ? "+1 " + areaCode + "-" + phoneNumber : "+1 " + phoneNumber;
}

} // namespace tolvane
