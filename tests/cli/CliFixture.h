// tolvane-cli run in-process through RunCli on files of a private directory, with the demo image
// written there first; what it wrote to standard output and standard error is kept for the test.
#pragma once

#include "CliApp.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tolvane {

class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = dir_.Path("demo.mem");
        ASSERT_EQ(Run({"demo", demo_}), 0);
        EXPECT_EQ(out_ + err_, "");
    }

    int Run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }

    TempDirectory dir_;
    std::string demo_;
    std::string out_;
    std::string err_;
};

} // namespace tolvane
