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
    // The folder taken as the program folder: Data/ and Config/ lie in it.
    std::filesystem::path homeDir;
    ProgramFolder folder() const { return ProgramFolder(homeDir); }
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
