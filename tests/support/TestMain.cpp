// The core and command-line tests' main: each process in a home of its own.
#include "support/PrivateEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    tolvane::UsePrivateEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
