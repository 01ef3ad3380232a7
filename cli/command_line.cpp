#include "cli/command_line.h"

#include "cli/command_table.h"
#include "cli/stage_state.h"
#include "core/chip_uses.h"
#include "core/stage.h"
#include "core/typed_number.h"
#include "files/file_names.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace tamo::cli {

namespace {

const QCommandLineOption homeOption(QStringLiteral("home"),
                                    QStringLiteral("The folder holding Data/ (default: the folder of "
                                                   "tamo-cli, after the user's own data folder where "
                                                   "tamo-cli's cannot be written)."),
                                    QStringLiteral("DIR"));
const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Show this help."));
const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                      QStringLiteral("Change the image in memory only; the ROM "
                                                     "file is not written."));

// One line on stderr, whatever line breaks the error's text holds.
void printError(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    printText(stderr, QStringLiteral("tamo-cli: %1\n").arg(line));
}

QString errorText(const std::exception &error)
{
    return textFromBytes(error.what());
}

QString programHelp()
{
    QString text = QStringLiteral(
        "Usage: tamo-cli [--home DIR] COMMAND [ARGUMENTS]\n"
        "Reads and edits the stages of a ROM image with the editor's data files.\n\n"
        "Options:\n"
        "  --home DIR  The program folder holding Data/ and Config/ (default: the folder of "
        "tamo-cli).\n"
        "  -h, --help  Show this help; COMMAND --help explains one command.\n\n"
        "Commands:\n");
    for (const CommandEntry &entry : commandTable())
        text += QStringLiteral("  %1%2\n").arg(entry.name.leftJustified(14), entry.summary);
    return text;
}

// The text in lines of at most width characters, broken between words.
QString wrapped(const QString &text, qsizetype width)
{
    QString result;
    qsizetype lineLength = 0;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            result += QLatin1Char('\n');
            lineLength = 0;
        } else if (lineLength > 0) {
            result += QLatin1Char(' ');
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
    }
    return result;
}

// The options a command takes: the common ones, --dry-run for edits, and its own.
QList<QCommandLineOption> commandOptions(const CommandEntry &entry)
{
    QList<QCommandLineOption> options{homeOption, helpOption};
    if (entry.editsRom)
        options.append(dryRunOption);
    options.append(entry.options);
    return options;
}

QString commandHelp(const CommandEntry &entry)
{
    QString text = QStringLiteral("Usage: tamo-cli [--home DIR] %1 %2%3\n%4\n\nOptions:\n")
                       .arg(entry.name, entry.editsRom ? QStringLiteral("[--dry-run] ") : QString(),
                            entry.arguments, wrapped(entry.description, 88));
    for (const QCommandLineOption &option : commandOptions(entry)) {
        QStringList names;
        for (const QString &name : option.names())
            names.append(name.size() == 1 ? "-" + name : "--" + name);
        QString left = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            left += " " + option.valueName();
        text += QStringLiteral("  %1%2\n").arg(left.leftJustified(16), option.description());
    }
    return text;
}

bool looksLikeOption(const QString &argument)
{
    // "-1" and "-$10" are negative numbers, not options.
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'))
           && !parseTypedInteger(argument.toStdString()).has_value();
}

bool optionTakesValue(const QList<QCommandLineOption> &options, const QString &argument)
{
    if (argument.contains(QLatin1Char('=')))
        return false;
    const QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    for (const QCommandLineOption &option : options) {
        if (option.names().contains(name))
            return !option.valueName().isEmpty();
    }
    return false;
}

// QCommandLineParser would take a negative number for an option; so the options are
// moved in front of a "--" and everything else after it, in its order.
QStringList optionsBeforePositionals(const QStringList &arguments,
                                     const QList<QCommandLineOption> &options)
{
    QStringList optionArguments;
    QStringList positionals;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QStringLiteral("--")) {
            positionals.append(arguments.mid(i + 1));
            break;
        }
        if (!looksLikeOption(argument)) {
            positionals.append(argument);
            continue;
        }
        optionArguments.append(argument);
        if (optionTakesValue(options, argument) && i + 1 < arguments.size())
            optionArguments.append(arguments[++i]);
    }
    return optionArguments + QStringList{QStringLiteral("--")} + positionals;
}

void parseOrThrow(QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.parse(arguments))
        throw UsageError(parser.errorText().toStdString());
}

int runCommand(const CommandEntry &entry, const QString &programName,
               const QStringList &commandArguments, const QString &globalHome)
{
    const QList<QCommandLineOption> options = commandOptions(entry);
    QCommandLineParser parser;
    parser.addOptions(options);
    parseOrThrow(parser, QStringList{programName}
                             + optionsBeforePositionals(commandArguments, options));
    if (parser.isSet(helpOption)) {
        printText(stdout, commandHelp(entry));
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    const bool tooFew = args.size() < entry.minArgs;
    const bool tooMany = entry.maxArgs >= 0 && args.size() > entry.maxArgs;
    if (tooFew || tooMany) {
        throw UsageError(QStringLiteral("%1 expects %2 (see tamo-cli %1 --help)")
                             .arg(entry.name, entry.arguments.isEmpty()
                                                  ? QStringLiteral("no arguments")
                                                  : entry.arguments)
                             .toStdString());
    }

    CliContext context;
    const QString home = parser.isSet(homeOption) ? parser.value(homeOption) : globalHome;
    if (home.isEmpty()) {
        context.folder = ProgramFolder::ofProgramIn(pathFromArgument(QCoreApplication::applicationDirPath()));
    } else {
        context.folder = ProgramFolder(pathFromArgument(home));
        // Missing data files read as empty, so a mistyped folder would go unnoticed.
        std::error_code error;
        if (!std::filesystem::is_directory(context.folder.dir(), error))
            throw std::runtime_error(
                QStringLiteral("--home %1: no such folder").arg(fileNameText(context.folder.dir())).toStdString());
    }
    context.dryRun = entry.editsRom && parser.isSet(dryRunOption);
    context.options = &parser;
    return entry.run(context, args);
}

// The options before the command; the command and its arguments are the positionals.
void parseGlobalOptions(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.addOptions({homeOption, helpOption});
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parseOrThrow(parser, arguments);
}

int dispatch(const QStringList &arguments)
{
    QCommandLineParser parser;
    parseGlobalOptions(parser, arguments);

    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) {
        if (parser.isSet(helpOption)) {
            printText(stdout, programHelp());
            return 0;
        }
        throw UsageError("no command given (see tamo-cli --help)");
    }
    const CommandEntry *entry = findCommand(rest.first());
    if (!entry) {
        throw UsageError(
            QStringLiteral("unknown command \"%1\" (see tamo-cli --help)").arg(rest.first()).toStdString());
    }
    QStringList commandArguments = rest.mid(1);
    if (parser.isSet(helpOption))
        commandArguments.prepend(QStringLiteral("--help"));
    return runCommand(*entry, arguments.value(0), commandArguments, parser.value(homeOption));
}

} // namespace

bool commandNeedsGui(const QStringList &arguments)
{
    QCommandLineParser parser;
    try {
        parseGlobalOptions(parser, arguments);
    } catch (const UsageError &) {
        return false;
    }
    const QStringList rest = parser.positionalArguments();
    const CommandEntry *entry = rest.isEmpty() ? nullptr : findCommand(rest.first());
    return entry && entry->needsGui;
}

int32_t integerArgument(const QString &text, const char *name)
{
    const std::optional<int32_t> value = parseTypedInteger(text.toStdString());
    if (!value) {
        throw UsageError(
            QStringLiteral("%1: \"%2\" is not an integer").arg(QLatin1String(name), text).toStdString());
    }
    return *value;
}

int32_t stageArgument(const QString &text)
{
    const int32_t stage = integerArgument(text, "STAGE");
    if (stage < 0 || stage >= LevelCount) {
        throw UsageError(QStringLiteral("STAGE: %1 is not a stage number (0 to %2)")
                             .arg(stage)
                             .arg(LevelCount - 1)
                             .toStdString());
    }
    return stage;
}

int32_t chipArgument(const QString &text, const char *name)
{
    const int32_t chip = integerArgument(text, name);
    if (chip < 0 || chip > ChipBits) {
        throw UsageError(QStringLiteral("%1: %2 is not a chip number (0 to 0x3FFF)")
                             .arg(QLatin1String(name), text)
                             .toStdString());
    }
    return chip;
}

void printText(FILE *stream, const QString &text)
{
    // File names come out as the bytes they were given in.
    const QByteArray bytes = bytesFromText(text);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

int runCli(const QStringList &arguments)
{
    try {
        return dispatch(arguments);
    } catch (const UsageError &error) {
        printError(errorText(error));
        return 2;
    } catch (const std::exception &error) {
        printError(errorText(error));
        return 1;
    }
}

} // namespace tamo::cli
