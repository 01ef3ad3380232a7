#include "tests/cli/cli_process.h"

#include <QProcess>

#include <fstream>
#include <iterator>

QJsonDocument CliRun::json() const
{
    return QJsonDocument::fromJson(out);
}

bool CliRun::oneErrorLine() const
{
    return err.endsWith('\n') && err.count('\n') == 1 && err.size() > 1;
}

CliRun runTamoCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TAMO_CLI_PATH), arguments);
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

std::vector<uint8_t> fileBytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QString qPath(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}
