#include "session/emulator_launcher.h"

#include "core/file_system.h"
#include "core/patch_file.h"
#include "core/rom_error.h"
#include "files/file_names.h"

#include <QElapsedTimer>
#include <QProcess>

#include <memory>
#include <string>
#include <vector>

namespace {

// How much of an emulator's error output is kept for its message: its last lines.
constexpr qsizetype keptErrorBytes = 16 * 1024;
constexpr qsizetype shownErrorLines = 10;
// How long a closing editor waits for an emulator to end before it is killed.
constexpr int endWaitMs = 2000;

std::vector<uint8_t> bootImage(const tamo::EmulatorSettings &settings, std::span<const uint8_t> image)
{
    if (settings.BootPatch.empty())
        return {image.begin(), image.end()};
    try {
        return tamo::ApplyPatch(tamo::fs::readWholeFile(settings.BootPatch), image);
    } catch (const tamo::RomError &error) {
        throw tamo::RomError("The boot patch " + settings.BootPatch + " does not apply: " + error.what());
    }
}

QStringList argumentList(const std::vector<std::string> &arguments)
{
    QStringList list;
    for (const std::string &argument : arguments)
        list << tamo::textFromBytes(argument);
    return list;
}

QString lastLines(const QByteArray &output)
{
    QStringList lines = QString::fromLocal8Bit(output).trimmed().split(QLatin1Char('\n'));
    if (lines.size() > shownErrorLines)
        lines = lines.mid(lines.size() - shownErrorLines);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

EmulatorLauncher::EmulatorLauncher(std::filesystem::path copiesParent, QObject *parent)
    : QObject(parent)
    , m_copies(std::move(copiesParent))
{
}

EmulatorLauncher::~EmulatorLauncher()
{
    // The copies go with the launcher; the emulators that read them go first.
    for (QProcess *process : findChildren<QProcess *>()) {
        process->disconnect(this);
        process->terminate();
        if (!process->waitForFinished(endWaitMs))
            process->kill();
        process->waitForFinished(endWaitMs);
    }
}

void EmulatorLauncher::launch(const tamo::EmulatorSettings &settings, std::span<const uint8_t> image,
                              const std::filesystem::path &romFile, int32_t stage)
{
    const QString command = tamo::textFromBytes(settings.Command);
    std::vector<std::string> words;
    for (const QString &word : QProcess::splitCommand(command))
        words.push_back(tamo::bytesFromText(word).toStdString());
    if (words.empty())
        throw tamo::RomError("No emulator command is set (Settings, Emulator...).");
    const std::vector<uint8_t> bytes = bootImage(settings, image);
    const std::filesystem::path copy = m_copies.writeCopy(romFile.filename(), bytes);
    const QStringList arguments
        = argumentList(tamo::ExpandEmulatorArguments(words, copy.string(), stage));

    auto *process = new QProcess(this);
    // What the emulator prints goes where the editor's own output goes; its errors are
    // kept for the message.
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->setProgram(arguments.front());
    process->setArguments(arguments.mid(1));
    watch(process, command);
    process->start();
}

void EmulatorLauncher::watch(QProcess *process, const QString &command)
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    auto errors = std::make_shared<QByteArray>();
    connect(process, &QProcess::readyReadStandardError, this, [process, errors] {
        errors->append(process->readAllStandardError());
        if (errors->size() > keptErrorBytes)
            errors->remove(0, errors->size() - keptErrorBytes);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process, command](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        emit failed(QStringLiteral("The emulator program \"%1\" could not be started: %2\nCommand line: %3")
                        .arg(process->program(), process->errorString(), command));
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this,
            [this, process, command, started, errors](int exitCode, QProcess::ExitStatus status) {
                errors->append(process->readAllStandardError());
                process->deleteLater();
                if (started->elapsed() >= ReportedEndMs || (status == QProcess::NormalExit && exitCode == 0))
                    return;
                const QString end = status == QProcess::CrashExit
                    ? QStringLiteral("crashed")
                    : QStringLiteral("ended with exit code %1").arg(exitCode);
                QString text = QStringLiteral("The emulator program \"%1\" %2.\nCommand line: %3")
                                   .arg(process->program(), end, command);
                if (!errors->trimmed().isEmpty())
                    text += QStringLiteral("\nIts last error output:\n") + lastLines(*errors);
                emit failed(text);
            });
}
