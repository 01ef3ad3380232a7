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
// The block in the program's own form, or else in the plain-text form.
tamo::TileBlockRead TileBlockOf(const QMimeData &data);

void PutTileBlockOnClipboard(const tamo::TileBlock &block);
// The block on the clipboard to paste, or why there is none: "The clipboard holds no tile
// block", or that its block is larger than the editor takes.
struct ClipboardPaste
{
    std::optional<tamo::TileBlock> block;
    QString refusal;
};
ClipboardPaste TileBlockToPaste();
