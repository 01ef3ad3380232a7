#include "session/chip_replace_step.h"

#include "core/tile_map_words.h"
#include "session/stage_session.h"

int64_t ReplaceChip(StageSession &session, const tamo::ChipReplacement &replacement, ChipReplaceArea area)
{
    const tamo::StageSource source{session.RomImage, session.OffsetTable, session.OffsetsIni};
    const bool stageOnly = area == ChipReplaceArea::StageTileMap;
    const std::vector<tamo::ByteRun> words
        = stageOnly ? tamo::StageTileMapWords(source, session.LevelNumber) : tamo::AllTileMapWords(source);
    const tamo::ChipReplaceEdit edit = tamo::ReplaceChipEdit(session.RomImage, words, replacement);
    const QString text = QString::fromStdString(edit.text);
    session.Document->edit(
        RomEdit{stageOnly ? session.tileStepText(text) : text, EditScope::TileMap, session.LevelNumber, edit.patch});
    return edit.cells;
}
