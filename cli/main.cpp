#include "cli/command_line.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Only the commands that draw text need a GUI application; tamo-cli never shows a
    // window, so that one needs no screen either.
    std::unique_ptr<QCoreApplication> application;
    if (tamo::cli::commandNeedsGui(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    return tamo::cli::runCli(QCoreApplication::arguments());
}
