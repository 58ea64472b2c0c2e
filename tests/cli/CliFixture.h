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

    // A misuse says on standard error what was wrong, then how the command goes or where to
    // read it, and prints nothing else.
    bool SaidMisuse() const {
        const std::size_t end = err_.find('\n');
        const std::string hint = end == std::string::npos ? "" : err_.substr(end + 1);
        return out_.empty() && err_.starts_with("tolvane-cli") &&
               (hint.starts_with("usage: tolvane-cli") ||
                hint.starts_with("Try 'tolvane-cli --help'"));
    }

    TempDirectory dir_;
    std::string demo_;
    std::string out_;
    std::string err_;
};

} // namespace tolvane
