// Fuzz target for the profile files: whatever the text, taking it apart, looking up the
// installation list's keys and loading the installation list from it must not crash, and these
// hold (a broken one aborts):
// - the text a snapshot writes reads back as a snapshot that writes the same text;
// - a loaded installation list selects one of its records or none, and holds no record without a
//   name, a password or a file name.
#include "FuzzTarget.h"
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"
#include "sites/ProfileSnapshot.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace tolvane;

namespace {

// The list loads only from a file: one file in a directory of its own, gone at the end.
struct ScratchFile {
    std::string dir;
    std::string path;
    ScratchFile() {
        char pattern[] = "/tmp/tolvane-fuzz-XXXXXX";
        Require(::mkdtemp(pattern) != nullptr, "a scratch directory can be made");
        dir = pattern;
        path = dir + "/gatelist.ini";
    }
    // Written over and cut to length rather than truncated first: a file emptied and written
    // again is flushed to disk on close by some file systems, which would slow every run.
    void Hold(std::string_view text) const {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        Require(fd >= 0 &&
                    ::pwrite(fd, text.data(), text.size(), 0) ==
                        static_cast<ssize_t>(text.size()) &&
                    ::ftruncate(fd, static_cast<off_t>(text.size())) == 0,
                "the scratch file can be written");
        ::close(fd);
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileSnapshot snapshot = ProfileSnapshot::FromText(text);
    snapshot.ReadInt32("GateList", "number");
    snapshot.ReadInt32("GateList", "selected");
    for (const std::string& section : snapshot.SectionNames()) {
        for (const char* key :
             {"InstName", "Password", "FileName", "CountryCode", "AreaCode", "PhoneNumber"}) {
            snapshot.ReadString(section, key);
        }
    }
    const std::string written = snapshot.Text();
    Require(ProfileSnapshot::FromText(written).Text() == written,
            "a written text reads back as written");

    static const ScratchFile scratch;
    scratch.Hold(text);
    InstallationList list;
    list.LoadInstallationList(ProfileFile(scratch.path));
    Require(list.selected >= -1 && list.selected < static_cast<int32_t>(list.records.size()),
            "the selection is a record or none");
    for (const Installation& record : list.records) {
        Require(!record.name.empty() && !record.password.empty() && !record.fileName.empty(),
                "every record has a name, a password and a file name");
    }
    return 0;
}
