// A profile file on disk. Every read takes the file afresh and every write replaces it whole, so
// two documents never work from stale copies; a write goes to a file beside it that is renamed
// over it, so a full disk never leaves half a file.
#pragma once

#include "sites/ProfileSnapshot.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace tolvane {

class ProfileFile {
public:
    // mode is the file's mode when written; files holding passwords pass 0600.
    explicit ProfileFile(std::string path, mode_t mode = 0644);

    const std::string& Path() const { return path_; }

    // The file as it is now; a missing or unreadable file, or anything that is not a regular file
    // (a pipe, a device), reads as empty.
    ProfileSnapshot Read() const;
    // Replaces the file with the snapshot's text in one write.
    bool Write(const ProfileSnapshot& snapshot) const;

    // One key, read afresh and written back.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInt32(const std::string& section, const std::string& key, int32_t value);

private:
    std::string path_;
    mode_t mode_;
};

// The one directory where the profile files live: $TOLVANE_CONFIG_DIR, else
// $XDG_CONFIG_HOME/tolvane, else ~/.config/tolvane. Created when missing.
std::string ConfigDirectory();

} // namespace tolvane
