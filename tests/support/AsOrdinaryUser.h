// Drops to an ordinary user for as long as it lives when the tests run as root, who may write
// any file: a read-only file is then read-only to the code under test too. The paths given are
// opened to everyone first (the line to the unit, the way to the test's files).
#pragma once

#include <gtest/gtest.h>

#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tolvane {

class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(const std::vector<std::string>& opened) {
        if (::geteuid() != 0) {
            return;
        }
        const passwd* nobody = ::getpwnam("nobody");
        for (const std::string& path : opened) {
            ::chmod(path.c_str(), 0777);
        }
        dropped_ =
            nobody != nullptr && ::setegid(nobody->pw_gid) == 0 && ::seteuid(nobody->pw_uid) == 0;
        EXPECT_TRUE(dropped_) << "cannot become \"nobody\"";
    }
    ~AsOrdinaryUser() {
        if (dropped_) {
            EXPECT_EQ(::seteuid(0), 0);
            EXPECT_EQ(::setegid(0), 0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool dropped_ = false;
};

} // namespace tolvane
