// The system report: the whole configuration of a unit on one page of text.
#pragma once

#include <string>

namespace tolvane {

class MemoryModule;

// The installation's telephone number as the report shows it: the phone number alone when there
// is no area code, else "country (area)phone".
std::string SystemPhoneNumberText(const std::string& country, const std::string& area,
                                  const std::string& phone);

std::string BuildSystemReport(const MemoryModule& image, const std::string& phoneNumberText);

} // namespace tolvane
