#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

// Runs the editor without any display, with the platform given (none when empty).
void runWithoutDisplay(QProcess &editor, const QString &platform)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(TAMO_EDITOR_PROGRAM), {});
}

TEST(StartupTest, WithoutADisplayTheEditorSaysHowToRunItInOneLine)
{
    for (const QString &platform : {QString(), QStringLiteral("xcb")}) {
        QProcess editor;
        runWithoutDisplay(editor, platform);
        ASSERT_TRUE(editor.waitForFinished(30000)) << platform.toStdString();
        EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit) << "no abort";
        EXPECT_NE(editor.exitCode(), 0);
        const QString said = QString::fromLocal8Bit(editor.readAllStandardError());
        EXPECT_EQ(said.count(QLatin1Char('\n')), 1) << said.toStdString();
        EXPECT_TRUE(said.contains(QStringLiteral("xvfb-run"))) << said.toStdString();
    }
}

} // namespace
