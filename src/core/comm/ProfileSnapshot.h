// The content of a profile file: sections and key=value lines, read the way installers' existing
// files expect. Names compare without regard to case, there is no escaping, the first of duplicate
// sections or keys wins, and lines it does not understand are kept as they are. Binary values are
// in struct form: two upper-case hex digits a byte, then the byte sum modulo 256.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

class ProfileSnapshot {
public:
    // LF or CR LF line ends, with or without a last line end.
    static ProfileSnapshot FromText(const std::string& text);
    // CR LF line ends, as the files have always had.
    std::string Text() const;
    std::size_t LineCount() const { return lines_.size(); }

    // The value, cut to bufferSize - 1 characters (the read buffer counts its terminator);
    // nullopt when the section or key is missing.
    std::optional<std::string> ReadString(const std::string& section, const std::string& key,
                                          std::size_t bufferSize) const;
    // The bytes of a struct value; nullopt when missing, of another length or with a wrong
    // checksum.
    std::optional<std::vector<uint8_t>> ReadStruct(const std::string& section,
                                                   const std::string& key, std::size_t size) const;
    // A 4-byte little-endian integer in struct form.
    std::optional<int32_t> ReadInt32(const std::string& section, const std::string& key) const;

    // Sets the key, adding it (and its section) when missing. False for a value that cannot be a
    // line of its own.
    bool Set(const std::string& section, const std::string& key, const std::string& value);

    static std::string EncodeStruct(const std::vector<uint8_t>& bytes);
    static std::optional<std::vector<uint8_t>> DecodeStruct(const std::string& text,
                                                            std::size_t size);

private:
    std::vector<std::string> lines_;
};

} // namespace tolvane
