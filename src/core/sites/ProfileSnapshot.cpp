#include "sites/ProfileSnapshot.h"

namespace tolvane {

namespace {

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Names compare without regard to case: the index holds them folded.
std::string Fold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

// The section a line opens, if it is a section line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.size() < 2 || text.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(text.substr(1, close - 1));
}

} // namespace

ProfileSnapshot ProfileSnapshot::FromText(std::string_view text) {
    ProfileSnapshot snapshot;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        snapshot.AddLine(std::string(line));
    }
    return snapshot;
}

void ProfileSnapshot::AddLine(std::string line) {
    if (const std::optional<std::string_view> name = SectionOf(line)) {
        Section section;
        section.name = *name;
        section.lines.push_back(std::move(line));
        // Only the first section of a name counts; later duplicates are kept but never read.
        index_.emplace(Fold(section.name), sections_.size());
        sections_.push_back(std::move(section));
        return;
    }
    if (sections_.empty()) {
        preamble_.push_back(std::move(line));
        return;
    }
    AddSectionLine(sections_.back(), std::move(line));
}

void ProfileSnapshot::AddSectionLine(Section& section, std::string line) {
    const std::size_t at = section.lines.size();
    if (!Trim(line).empty()) {
        section.end = at + 1;
    }
    if (const std::size_t equals = line.find('='); equals != std::string::npos) {
        section.keys.emplace(Fold(Trim(std::string_view(line).substr(0, equals))), at);
    }
    section.lines.push_back(std::move(line));
}

std::string ProfileSnapshot::Text() const {
    std::string text;
    auto append = [&text](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            text += line;
            text += "\r\n";
        }
    };
    append(preamble_);
    for (const Section& section : sections_) {
        append(section.lines);
    }
    return text;
}

const ProfileSnapshot::Section* ProfileSnapshot::Find(const std::string& section) const {
    const auto found = index_.find(Fold(section));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

ProfileSnapshot::Section& ProfileSnapshot::Make(const std::string& section) {
    const auto [found, added] = index_.emplace(Fold(section), sections_.size());
    if (added) {
        Section made;
        made.name = section;
        made.lines.push_back("[" + section + "]");
        sections_.push_back(std::move(made));
    }
    return sections_[found->second];
}

std::optional<std::string> ProfileSnapshot::ReadString(const std::string& section,
                                                       const std::string& key) const {
    const Section* found = Find(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto line = found->keys.find(Fold(key));
    if (line == found->keys.end()) {
        return std::nullopt;
    }
    const std::string_view text = found->lines[line->second];
    std::string_view value = Trim(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::optional<std::vector<uint8_t>> ProfileSnapshot::ReadStruct(const std::string& section,
                                                                const std::string& key,
                                                                std::size_t size) const {
    const std::optional<std::string> text = ReadString(section, key);
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

std::vector<std::string> ProfileSnapshot::SectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (index_.at(Fold(sections_[i].name)) == i) {
            names.push_back(sections_[i].name);
        }
    }
    return names;
}

std::vector<std::string> ProfileSnapshot::KeysOf(const std::string& section) const {
    std::vector<std::string> keys;
    const Section* found = Find(section);
    if (found == nullptr) {
        return keys;
    }
    for (std::size_t at = 1; at < found->lines.size(); ++at) {
        const std::string_view line = found->lines[at];
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view name = Trim(line.substr(0, equals));
        if (!name.empty() && found->keys.at(Fold(name)) == at) {
            keys.emplace_back(name);
        }
    }
    return keys;
}

bool ProfileSnapshot::Set(const std::string& section, const std::string& key,
                          const std::string& value) {
    // A line break in a value would turn its tail into a line of its own.
    if (value.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    Section& target = Make(section);
    std::string line = key + "=" + value;
    const auto [found, added] = target.keys.emplace(Fold(key), target.end);
    if (added) {
        target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(target.end),
                            std::move(line));
        ++target.end;
    } else {
        target.lines[found->second] = std::move(line);
    }
    return true;
}

void ProfileSnapshot::SetInt32(const std::string& section, const std::string& key, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    Set(section, key,
        EncodeStruct({static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                      static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)}));
}

void ProfileSnapshot::Remove(const std::string& section, const std::string& key) {
    const auto found = index_.find(Fold(section));
    if (found == index_.end()) {
        return;
    }
    Section& target = sections_[found->second];
    const std::string name = Fold(key);
    std::vector<std::string> lines = std::move(target.lines);
    target.lines.assign(1, std::move(lines.front()));
    target.keys.clear();
    target.end = 1;
    for (std::size_t at = 1; at < lines.size(); ++at) {
        const std::string_view line = lines[at];
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || Fold(Trim(line.substr(0, equals))) != name) {
            AddSectionLine(target, std::move(lines[at]));
        }
    }
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
