#include "cli/stage_state.h"

#include "cli/command_line.h"
#include "files/file_names.h"

namespace tamo::cli {

Stage StageState::decode() const
{
    return DecodeStage(source(), level, Stage{});
}

void StageState::saveUnlessDryRun(const CliContext &context) const
{
    if (!context.dryRun)
        rom.save(romPath);
}

std::filesystem::path pathFromArgument(const QString &text)
{
    return filePath(text);
}

IniFile loadOffsetsIni(const CliContext &context)
{
    return IniFile::load(context.folder.offsetsIni());
}

StageState loadRomState(const CliContext &context, const QString &romArgument)
{
    StageState state;
    state.offsetsIni = loadOffsetsIni(context);
    state.offsets = LoadOffsetTable(state.offsetsIni);
    state.spriteIni = IniFile::load(context.folder.spriteIni());
    state.romPath = pathFromArgument(romArgument);
    state.rom = RomImage::open(state.romPath);
    return state;
}

StageState loadStageState(const CliContext &context, const QString &romArgument,
                          const QString &stageText)
{
    // The stage number is checked first: a usage error wins over a missing file.
    const int32_t level = stageArgument(stageText);
    StageState state = loadRomState(context, romArgument);
    state.level = level;
    return state;
}

} // namespace tamo::cli
