#include "forms/editor_application.h"

#include <gtest/gtest.h>

// One application object for all tests of a program; the windows are made per test.
int main(int argc, char **argv)
{
    // Also when the tests are listed at build time, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // The program's own application object, with its top-level error report.
    EditorApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
