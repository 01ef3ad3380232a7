#pragma once

#include "view/tile_block.h"

#include <QString>

#include <optional>

class QMimeData;
class QStatusBar;

// Blocks of tile words on the system clipboard: in a MIME type of the program's own, and
// as plain text (rows of hexadecimal words) for other programs and other editors.
extern const QString TileBlockMimeType;

// The block in both forms; the caller owns the result.
QMimeData *TileBlockMimeData(const tamo::TileBlock &block);
// The block in the program's own form, or else in the plain-text form.
tamo::TileBlockRead TileBlockOf(const QMimeData &data);
// Why a paste of what was read cannot be made: "The clipboard holds no tile block", or
// that its block is larger than the editor takes. Empty where it holds a block.
QString PasteRefusal(const tamo::TileBlockRead &read);

void PutTileBlockOnClipboard(const tamo::TileBlock &block);
// The block on the clipboard to paste; none, with the reason shown in the status bar, where
// the clipboard holds none the editor takes.
std::optional<tamo::TileBlock> TileBlockToPaste(QStatusBar &bar);
