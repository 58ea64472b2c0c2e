// The GUI tests run with a real QApplication on the offscreen platform, so no display is needed,
// each process with settings of its own.
#include "support/PrivateEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    tolvane::UsePrivateEnvironment();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Q_INIT_RESOURCE(tolvane);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tolvane");
    QApplication::setOrganizationName("TolvaneTests");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
