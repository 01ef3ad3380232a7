#include <QApplication>

#include <gtest/gtest.h>

// One application object for all tests of a program; the windows are made per test.
int main(int argc, char **argv)
{
    // Also when the tests are listed at build time, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("TamoEditor"));
    return RUN_ALL_TESTS();
}
