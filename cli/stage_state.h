#pragma once

#include "cli/cli_context.h"
#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <QString>

#include <filesystem>

namespace tamo::cli {

// What the editor holds for one stage of one ROM: the data files of the program folder,
// the offset table, the ROM image and the stage number. Commands that read or change a
// stage start from here.
struct StageState
{
    IniFile offsetsIni;
    IniFile spriteIni;
    OffsetTable offsets;
    std::filesystem::path romPath;
    RomImage rom;
    int32_t level = 0;

    StageSource source() const { return {rom, offsets, offsetsIni}; }
    // The stage as the editor's stage load decodes it, as the first load after start-up.
    Stage decode() const;
    // Writes the image back over the file as the editor's Save does, unless dry-run.
    void saveUnlessDryRun(const CliContext &context) const;
};

// The data files of the program folder alone (a missing file reads as empty).
IniFile loadOffsetsIni(const CliContext &context);

// The data files and the ROM of romArgument, with stage 0 as the stage.
StageState loadRomState(const CliContext &context, const QString &romArgument);

// romArgument and stageArgument are the command's ROM and STAGE arguments.
StageState loadStageState(const CliContext &context, const QString &romArgument,
                          const QString &stageArgument);

std::filesystem::path pathFromArgument(const QString &text);

} // namespace tamo::cli
