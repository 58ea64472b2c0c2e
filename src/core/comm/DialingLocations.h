// The places the computer dials from and which of them it dials from now, kept in "zemrix.ini":
// section "locations" holds one key per location, its name, with the value
// "country,area,outside,longdist,international,tone|pulse"; section "communication" key
// "location" names the current one. Before any location was stored there is "Default Location".
#pragma once

#include "comm/DialingLocation.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

class DialingLocations {
public:
    static constexpr const char* kDefaultName = "Default Location";

    // The stored locations, sorted by name, and the current one (the first when the stored name
    // is missing or unknown). false when a stored location could not be read: the readable ones
    // are kept, and with none readable there is the default location.
    bool Load(const std::string& configDirectory);
    // One read and one whole write of the file; every other section and key stays as it is, and
    // so does a stored location that could not be read.
    bool Save(const std::string& configDirectory) const;

    const std::vector<DialingLocation>& All() const { return locations_; }
    std::size_t Current() const { return current_; }
    void SetCurrent(std::size_t index) { current_ = index; }

    // Why the edited location cannot take the current one's place: a name that is empty, taken
    // by another location, or unfit for a key of the file, or a field the file cannot hold.
    std::optional<std::string> Refusal(const DialingLocation& edited) const;
    // Replaces the current location (one that Refusal did not refuse); it stays current.
    void ReplaceCurrent(DialingLocation edited);

private:
    static DialingLocation DefaultLocation();
    void Sort(const std::string& currentName);

    std::vector<DialingLocation> locations_{DefaultLocation()};
    std::size_t current_ = 0;
    // Names given up by a rename since the load, whose keys the next save removes.
    std::vector<std::string> retired_;
};

} // namespace tolvane
