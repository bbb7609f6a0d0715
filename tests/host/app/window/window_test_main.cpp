// The main of every window test program: Qt on its offscreen platform, and what the window keeps
// (its settings, recent files, size) in a folder of the tests' own, never the person's.
#include <gtest/gtest.h>

#include <QtCore/QStandardPaths>
#include <QtWidgets/QApplication>
#include <cstdlib>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing_support::TempDir config;
    setenv("XDG_CONFIG_HOME", config.root().c_str(), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
