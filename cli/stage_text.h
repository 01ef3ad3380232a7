#pragma once

#include "core/stage_records.h"
#include "core/tile_map_spans.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace tamo {
class RomImage;
}

namespace tamo::cli {

// The stage files: one JSON object per line, every line keyed by its place, so that one
// change of the ROM is one changed line. "stage-022.jsonl": a head line, one line per
// settings field, then the sprite, camera and banana records by slot (or one line naming
// the stage whose list it is). "tilemap-001.jsonl": a head line, then one line per row.
QString stageFileName(int32_t level);
QString tileMapFileName(int32_t tilemap);
// Whether a file of that name is one the stage files of a folder may hold.
bool isStageFolderFileName(const QString &name);

QByteArray stageFileText(const StageRecords &stage, const QString &name, std::optional<int32_t> tilemap);
QByteArray tileMapFileText(const TileMapSpan &span, const RomImage &rom);

} // namespace tamo::cli
