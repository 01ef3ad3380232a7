#include "cli/command_line.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    // render and palette draw label text, which needs a GUI application; tamo-cli never
    // shows a window, so it needs no screen either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return tamo::cli::runCli(QCoreApplication::arguments());
}
