#include "cli/command_line.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    return tamo::cli::runCli(QCoreApplication::arguments());
}
