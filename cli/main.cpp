#include "cli/command_line.h"
#include "files/file_names.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char *argv[])
{
    // Only the commands that draw text need a GUI application; tamo-cli never shows a
    // window, so that one needs no screen either.
    std::unique_ptr<QCoreApplication> application;
    if (tamo::cli::commandNeedsGui(tamo::programArguments(argc, argv))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Taken again: the application has removed the options that were Qt's own.
    return tamo::cli::runCli(tamo::programArguments(argc, argv));
}
