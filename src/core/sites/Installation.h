// One access control unit as the program knows it.
#pragma once

#include <string>

namespace tolvane {

struct Installation {
    std::string name;
    std::string password;
    std::string fileName; // full path of the memory module file
    std::string countryCode;
    std::string areaCode;
    std::string phoneNumber;
    // How the unit was last reached: "COM1" to "COM4" or "Modem"; empty until it has been. Last
    // and with a default, so that a list of the six fields above still makes a whole record.
    std::string port = {};

    bool operator==(const Installation&) const = default;
};

} // namespace tolvane
