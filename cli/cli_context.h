#pragma once

#include "files/program_folder.h"

#include <QStringList>

#include <filesystem>
#include <stdexcept>

class QCommandLineParser;

namespace tamo::cli {

// What every command gets besides its positional arguments.
struct CliContext
{
    // Where the data files are read from: the folder --home names, or the program's own.
    ProgramFolder folder{std::filesystem::path()};
    // Edit commands change the image in memory only.
    bool dryRun = false;
    // The command's own parsed options, for commands that declare more of them.
    const QCommandLineParser *options = nullptr;
};

// A command line that cannot be run as written; it ends the program with exit status 2.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

using CommandFunction = int (*)(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
