// The content of a profile file: sections and key=value lines, read the way installers' existing
// files expect. Names compare without regard to case, there is no escaping, the first of duplicate
// sections or keys wins, and lines it does not understand are kept as they are. Binary values are
// in struct form: two upper-case hex digits a byte, then the byte sum modulo 256.
//
// The text is taken apart once into sections with an index of their keys, so that a file of
// thousands of installations reads in one pass and each look-up costs the same however long the
// file is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tolvane {

class ProfileSnapshot {
public:
    // LF or CR LF line ends, with or without a last line end.
    static ProfileSnapshot FromText(std::string_view text);
    // CR LF line ends, as the files have always had.
    std::string Text() const;

    // The whole value, however long; nullopt when the section or key is missing.
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    // The bytes of a struct value; nullopt when missing, of another length or with a wrong
    // checksum.
    std::optional<std::vector<uint8_t>> ReadStruct(const std::string& section,
                                                   const std::string& key, std::size_t size) const;
    // A 4-byte little-endian integer in struct form.
    std::optional<int32_t> ReadInt32(const std::string& section, const std::string& key) const;
    // The name of every section as written, the first of each name only, in file order.
    std::vector<std::string> SectionNames() const;
    // The name of every key of the section as written, the first of each name only, in file
    // order; empty when the section is missing.
    std::vector<std::string> KeysOf(const std::string& section) const;

    // Sets the key, adding it (and its section) when missing. False for a value that cannot be a
    // line of its own.
    bool Set(const std::string& section, const std::string& key, const std::string& value);
    void SetInt32(const std::string& section, const std::string& key, int32_t value);
    // Takes the key out of the section, with any later lines of the same name, so that none of
    // them is read in its place next time.
    void Remove(const std::string& section, const std::string& key);

    static std::string EncodeStruct(const std::vector<uint8_t>& bytes);
    static std::optional<std::vector<uint8_t>> DecodeStruct(const std::string& text,
                                                            std::size_t size);

private:
    struct Section {
        std::string name;
        // The section's line first, then every line up to the next section, as they came.
        std::vector<std::string> lines;
        // One past the last line that is not blank: where a new key goes, so that the blank
        // lines that part it from the next section stay where they are. Lines from here on are
        // blank, so inserting here moves no key.
        std::size_t end = 1;
        // Key name folded to lower case -> its line; the first of a name wins.
        std::unordered_map<std::string, std::size_t> keys;
    };

    void AddLine(std::string line);
    static void AddSectionLine(Section& section, std::string line);
    const Section* Find(const std::string& section) const;
    Section& Make(const std::string& section);

    std::vector<std::string> preamble_; // lines before the first section
    std::vector<Section> sections_;
    // Section name folded to lower case -> the first section of that name.
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace tolvane
