#include "cli/folder_commands.h"

#include "cli/command_line.h"
#include "cli/stage_export.h"
#include "cli/stage_import.h"
#include "cli/stage_state.h"
#include "files/file_names.h"

namespace tamo::cli {

namespace {

void printLine(const QString &text)
{
    printText(stdout, text + '\n');
}

} // namespace

int runExport(const CliContext &context, const QStringList &args)
{
    const StageState state = loadRomState(context, args[0]);
    const std::filesystem::path dir = pathFromArgument(args[1]);
    const StageFolder folder = stageFolder(state.source());
    const FolderWrite written = writeStageFolder(dir, folder.texts);
    QString leftOut;
    if (!folder.leftOut.empty())
        leftOut = QStringLiteral("; %1 stages left out, their tables lying outside the image (%2)")
                      .arg(folder.leftOut.size())
                      .arg(textFromBytes(folder.leftOut.front()));
    printLine(QStringLiteral("exported %1 stages and %2 tile maps into %3: %4 files written, %5 unchanged, %6 removed%7")
                  .arg(folder.stages)
                  .arg(folder.tileMaps)
                  .arg(fileNameText(dir))
                  .arg(written.written)
                  .arg(written.unchanged)
                  .arg(written.removed)
                  .arg(leftOut));
    return 0;
}

int runImport(const CliContext &context, const QStringList &args)
{
    StageState state = loadRomState(context, args[0]);
    const std::filesystem::path dir = pathFromArgument(args[1]);
    StageImport imported = importStages(state.source(), dir);
    const QString rom = fileNameText(state.romPath);
    const QString counts = QStringLiteral("%1 values, %2 bytes").arg(imported.changes.size()).arg(imported.changedBytes);
    if (context.dryRun) {
        for (const ImportChange &change : imported.changes)
            printLine(QStringLiteral("%1: %2: %3 -> %4").arg(change.owner, change.what, change.oldValue, change.newValue));
        printLine(QStringLiteral("dry run: %1 of %2 would change; nothing written").arg(counts, rom));
        return 0;
    }
    if (imported.changes.empty()) {
        printLine(QStringLiteral("imported %1: nothing differs from %2; nothing written").arg(fileNameText(dir), rom));
        return 0;
    }
    state.rom = std::move(imported.image);
    state.saveUnlessDryRun(context);
    printLine(QStringLiteral("imported %1: %2 of %3 changed and saved").arg(fileNameText(dir), counts, rom));
    return 0;
}

} // namespace tamo::cli
