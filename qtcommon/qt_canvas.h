#pragma once

#include "view/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

namespace tamo {

class QtPicture;

// Told of every drawing into a canvas' bitmap, once it is done.
class CanvasObserver
{
public:
    virtual ~CanvasObserver() = default;
    // A whole cell copied as it is from the source's cell at corner to the cell at at.
    virtual void cellCopied(const QtPicture &source, PicturePoint corner, QPoint at) = 0;
    // Any other drawing, by the area of the bitmap it changed.
    virtual void areaDrawn(const QRect &area) = 0;
};

// The retained image of the stage view and the chip palette, as a 32-bit RGB QImage.
// It draws from QtPicture sources only.
class QtCanvas : public Canvas
{
public:
    QtCanvas() = default;

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void resize(int width, int height) override;
    void clear() override;

    void copyCell(const Picture &source, int sourceX, int sourceY, int x, int y,
                  CopyMode mode) override;
    void fillCell(int x, int y) override;
    void copyCellRow(const Picture *source, std::span<const std::optional<PicturePoint>> cells,
                     int x, int y) override;
    void drawText(int x, int y, std::string_view text, const TextStyle &style) override;

    void setBitmapLimit(int64_t bytes) override { m_bitmapLimit = bytes; }

    // The bitmap as drawn so far; a null image before the first drawing.
    const QImage &bitmap() const { return m_bitmap; }
    // The picture the image shows: the bitmap, made (plain background) if nothing was
    // drawn yet. Throws OutOfResources when it cannot be made.
    const QImage &picture();
    // How many bitmaps this canvas has made; for the checks that a redraw reuses its bitmap,
    // and for those who keep pictures made from it to tell a new bitmap from the old.
    int bitmapsMade() const { return m_bitmapsMade; }
    // The one observer of the drawings, or none.
    void setObserver(CanvasObserver *observer) { m_observer = observer; }

private:
    QImage &ensureBitmap();
    void areaDrawn(int x, int y, int width, int height);
    const QFontMetrics &labelFont(int pointSize);

    int m_width = 0;
    int m_height = 0;
    int64_t m_bitmapLimit = NoBitmapLimit;
    QImage m_bitmap;
    int m_bitmapsMade = 0;
    // Room for copyCellRow, kept to spare an allocation per row: each cell it copies line
    // by line, by its left edge, its first source line and its corner in the source.
    struct RowCell
    {
        int left;
        const uchar *in;
        PicturePoint corner;
    };
    std::vector<RowCell> m_rowCells;
    CanvasObserver *m_observer = nullptr;
    // The label font of the last point size, with its metrics on the bitmap's density.
    std::optional<QFont> m_font;
    std::optional<QFontMetrics> m_metrics;
};

} // namespace tamo
