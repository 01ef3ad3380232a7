#include "forms/tile_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

const QString TileBlockMimeType = QStringLiteral("application/x-tamoeditor-tile-block");

namespace {

// Why what was read is no block to paste.
QString refusalOf(const tamo::TileBlockRead &read)
{
    if (!read.tooLarge())
        return QStringLiteral("The clipboard holds no tile block");
    return QStringLiteral("The clipboard's block of %1 x %2 cells is larger than the editor takes (%3 cells at most, "
                          "65535 a side)")
        .arg(read.columns)
        .arg(read.rows)
        .arg(tamo::MaxBlockCells);
}

} // namespace

QMimeData *TileBlockMimeData(const tamo::TileBlock &block)
{
    auto *data = new QMimeData;
    const std::vector<uint8_t> bytes = tamo::TileBlockBytes(block);
    data->setData(TileBlockMimeType, QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())));
    data->setText(QString::fromStdString(tamo::TileBlockText(block)));
    return data;
}

tamo::TileBlockRead TileBlockOf(const QMimeData &data)
{
    if (data.hasFormat(TileBlockMimeType)) {
        const QByteArray bytes = data.data(TileBlockMimeType);
        return tamo::TileBlockFromBytes(
            std::span(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())));
    }
    if (data.hasText())
        return tamo::TileBlockFromText(data.text().toStdString());
    return {};
}

void PutTileBlockOnClipboard(const tamo::TileBlock &block)
{
    QGuiApplication::clipboard()->setMimeData(TileBlockMimeData(block));
}

ClipboardPaste TileBlockToPaste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    tamo::TileBlockRead read = data ? TileBlockOf(*data) : tamo::TileBlockRead{};
    if (!read.block)
        return {std::nullopt, refusalOf(read)};
    return {std::move(read.block), {}};
}
