#pragma once

#include "cli/cli_context.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

namespace tamo::cli {

// One command of tamo-cli: adding a command is adding one entry to the table.
struct CommandEntry
{
    QString name;
    QString arguments;   // the positional arguments as shown in the usage line
    QString summary;     // one line for the command list
    QString description; // the text of COMMAND --help
    int minArgs = 0;
    int maxArgs = 0;     // -1: no upper limit
    bool editsRom = false; // takes --dry-run
    CommandFunction run = nullptr;
    QList<QCommandLineOption> options = {}; // options of this command beyond the common ones
    bool needsGui = false; // draws text, which takes a GUI application (on no screen)
};

const QList<CommandEntry> &commandTable();
const CommandEntry *findCommand(const QString &name);

} // namespace tamo::cli
