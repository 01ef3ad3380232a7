#include "forms/tile_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

const QString TileBlockMimeType = QStringLiteral("application/x-tamoeditor-tile-block");

QMimeData *TileBlockMimeData(const tamo::TileBlock &block)
{
    auto *data = new QMimeData;
    const std::vector<uint8_t> bytes = tamo::TileBlockBytes(block);
    data->setData(TileBlockMimeType, QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())));
    data->setText(QString::fromStdString(tamo::TileBlockText(block)));
    return data;
}

std::optional<tamo::TileBlock> TileBlockOf(const QMimeData &data)
{
    if (data.hasFormat(TileBlockMimeType)) {
        const QByteArray bytes = data.data(TileBlockMimeType);
        return tamo::TileBlockFromBytes(
            std::span(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())));
    }
    if (data.hasText())
        return tamo::TileBlockFromText(data.text().toStdString());
    return std::nullopt;
}

void PutTileBlockOnClipboard(const tamo::TileBlock &block)
{
    QGuiApplication::clipboard()->setMimeData(TileBlockMimeData(block));
}

std::optional<tamo::TileBlock> TileBlockOnClipboard()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data ? TileBlockOf(*data) : std::nullopt;
}
