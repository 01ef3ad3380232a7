#pragma once

#include "view/tile_block.h"

#include <QString>

#include <optional>

class QMimeData;

// Blocks of tile words on the system clipboard: in a MIME type of the program's own, and
// as plain text (rows of hexadecimal words) for other programs and other editors.
extern const QString TileBlockMimeType;

// The block in both forms; the caller owns the result.
QMimeData *TileBlockMimeData(const tamo::TileBlock &block);
// The block in the program's own form, or else in the plain-text form; none when neither
// holds one.
std::optional<tamo::TileBlock> TileBlockOf(const QMimeData &data);

void PutTileBlockOnClipboard(const tamo::TileBlock &block);
std::optional<tamo::TileBlock> TileBlockOnClipboard();
