#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>

namespace tamo::cli {

// Runs one tamo-cli command line (arguments[0] is the program) and returns the exit
// status: 0 on success, 2 for a usage error, 1 for any other failure.
int runCli(const QStringList &arguments);

// Whether the command of this command line draws text and so needs a GUI application.
bool commandNeedsGui(const QStringList &arguments);

// A number argument in the program's integer syntax; a UsageError naming the argument
// when it does not read.
int32_t integerArgument(const QString &text, const char *name);
// A stage number, 0 to 229.
int32_t stageArgument(const QString &text);
// A chip number, 0 to 0x3FFF (bits 0-13 of a tile word).
int32_t chipArgument(const QString &text, const char *name);

// Output keeps the bytes of the file names it holds.
void printText(FILE *stream, const QString &text);

} // namespace tamo::cli
