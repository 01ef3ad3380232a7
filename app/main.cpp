#include "forms/UnitMain.h"
#include "forms/application_windows.h"
#include "files/file_names.h"
#include "forms/editor_application.h"
#include "forms/message_box.h"

#include <QDir>
#include <QIcon>

#include <cstdio>
#include <exception>
#include <filesystem>

namespace {

// Qt aborts without a display; the editor says so in one line and how to run it anyway.
// Platforms that need no display (offscreen, vnc, ...) are taken as they are.
bool displayAvailable()
{
#if defined(Q_OS_LINUX)
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool needsDisplay = platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    return !needsDisplay || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

std::filesystem::path programFolder()
{
    const QString folder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    return std::filesystem::path(QDir::toNativeSeparators(folder).toStdU16String());
}

} // namespace

int main(int argc, char **argv)
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "TamoEditor needs a display; without one, run it as: "
                             "xvfb-run -a %s [rom.smc]\n", argv[0]);
        return 1;
    }
    EditorApplication application(argc, argv);
    // An installed copy: the desktop matches the windows with the menu entry, and the icon
    // comes from the icon theme (none for a copy in a build folder).
    QGuiApplication::setDesktopFileName(QStringLiteral(TAMO_DESKTOP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(TAMO_DESKTOP_ID)));
    // The program ends when the main window closes, whatever tool windows are shown.
    QApplication::setQuitOnLastWindowClosed(false);

    try {
        CreateWindows(programFolder());
    } catch (const std::exception &error) {
        ShowMessage(QString::fromUtf8(error.what()));
        DestroyWindows();
        return 1;
    }
    // Taken as a full path, which the messages then show and the settings keep the folder of;
    // its bytes are kept even where they are not UTF-8.
    const QStringList arguments = tamo::programArguments(argc, argv);
    if (arguments.size() > 1)
        FormMain->CommandLineRom = QDir::toNativeSeparators(tamo::absoluteFileName(arguments.at(1)));
    FormMain->show();
    const int result = QApplication::exec();
    DestroyWindows();
    return result;
}
