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

    bool operator==(const Installation&) const = default;
};

} // namespace tolvane
