#include "comm/ProfileSnapshot.h"

#include <sstream>
#include <strings.h>

namespace tolvane {

namespace {

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The section a line opens, if it is a section line.
std::optional<std::string> SectionOf(const std::string& line) {
    const std::string text = Trim(line);
    if (text.size() < 2 || text.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = text.find(']');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    return Trim(text.substr(1, close - 1));
}

// Where a key's line is, and where a new key of the section would go.
struct Location {
    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> sectionEnd; // one past the section's last line
};

Location Find(const std::vector<std::string>& lines, const std::string& section,
              const std::string& key) {
    Location location;
    bool inSection = false;
    bool sectionSeen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionOf(lines[i])) {
            // Only the first section of a name counts; later duplicates are left alone.
            inSection = !sectionSeen && SameName(*name, section);
            sectionSeen = sectionSeen || inSection;
            if (inSection) {
                location.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (!Trim(lines[i]).empty()) {
            location.sectionEnd = i + 1;
        }
        const std::size_t equals = lines[i].find('=');
        if (!location.keyLine && equals != std::string::npos &&
            SameName(Trim(lines[i].substr(0, equals)), key)) {
            location.keyLine = i;
        }
    }
    return location;
}

} // namespace

ProfileSnapshot ProfileSnapshot::FromText(const std::string& text) {
    ProfileSnapshot snapshot;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        snapshot.lines_.push_back(line);
    }
    return snapshot;
}

std::string ProfileSnapshot::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line + "\r\n";
    }
    return text;
}

std::optional<std::string> ProfileSnapshot::ReadString(const std::string& section,
                                                       const std::string& key,
                                                       std::size_t bufferSize) const {
    const Location location = Find(lines_, section, key);
    if (!location.keyLine) {
        return std::nullopt;
    }
    const std::string& line = lines_[*location.keyLine];
    std::string value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value.substr(0, bufferSize > 0 ? bufferSize - 1 : 0);
}

std::optional<std::vector<uint8_t>> ProfileSnapshot::ReadStruct(const std::string& section,
                                                                const std::string& key,
                                                                std::size_t size) const {
    const std::optional<std::string> text = ReadString(section, key, 2 * (size + 1) + 2);
    if (!text) {
        return std::nullopt;
    }
    return DecodeStruct(*text, size);
}

std::optional<int32_t> ProfileSnapshot::ReadInt32(const std::string& section,
                                                  const std::string& key) const {
    const auto bytes = ReadStruct(section, key, 4);
    if (!bytes) {
        return std::nullopt;
    }
    const uint32_t value = uint32_t{(*bytes)[0]} | uint32_t{(*bytes)[1]} << 8 |
                           uint32_t{(*bytes)[2]} << 16 | uint32_t{(*bytes)[3]} << 24;
    return static_cast<int32_t>(value);
}

bool ProfileSnapshot::Set(const std::string& section, const std::string& key,
                          const std::string& value) {
    // A line break in a value would turn its tail into a line of its own.
    if (value.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    const Location location = Find(lines_, section, key);
    const std::string line = key + "=" + value;
    if (location.keyLine) {
        lines_[*location.keyLine] = line;
    } else if (location.sectionEnd) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*location.sectionEnd), line);
    } else {
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
    }
    return true;
}

std::string ProfileSnapshot::EncodeStruct(const std::vector<uint8_t>& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    unsigned sum = 0;
    for (const uint8_t byte : bytes) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
        sum += byte;
    }
    text += kHex[(sum >> 4) & 0x0F];
    text += kHex[sum & 0x0F];
    return text;
}

std::optional<std::vector<uint8_t>> ProfileSnapshot::DecodeStruct(const std::string& text,
                                                                  std::size_t size) {
    if (text.size() != 2 * (size + 1)) {
        return std::nullopt;
    }
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    };
    std::vector<uint8_t> bytes;
    unsigned sum = 0;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = nibble(text[i]);
        const int low = nibble(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    const uint8_t checksum = bytes.back();
    bytes.pop_back();
    for (const uint8_t byte : bytes) {
        sum += byte;
    }
    if ((sum & 0xFF) != checksum) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace tolvane
