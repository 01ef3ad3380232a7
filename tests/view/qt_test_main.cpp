#include <QGuiApplication>

#include <gtest/gtest.h>

// The Qt canvas draws text, which needs a GUI application; no screen is needed.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
