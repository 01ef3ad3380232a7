#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

TEST(StartupTest, WithoutADisplayTheEditorSaysHowToRunItInOneLine)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(TAMO_EDITOR_PROGRAM), {});
    ASSERT_TRUE(editor.waitForFinished(30000));
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit) << "no abort";
    EXPECT_NE(editor.exitCode(), 0);
    const QString said = QString::fromLocal8Bit(editor.readAllStandardError());
    EXPECT_EQ(said.count(QLatin1Char('\n')), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("xvfb-run"))) << said.toStdString();
}

} // namespace
