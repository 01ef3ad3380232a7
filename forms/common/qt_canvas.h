#pragma once

#include "view/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tamo {

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
    // Told the area of the bitmap each drawing has changed, once the drawing is done.
    void setDrawnObserver(std::function<void(const QRect &)> observer) { m_drawn = std::move(observer); }

private:
    QImage &ensureBitmap();
    void drawn(const QRect &area);
    const QFontMetrics &labelFont(int pointSize);

    int m_width = 0;
    int m_height = 0;
    int64_t m_bitmapLimit = NoBitmapLimit;
    QImage m_bitmap;
    int m_bitmapsMade = 0;
    // Room for copyCellRow, kept to spare an allocation per row: the left edge and the
    // first source line of each cell it copies line by line.
    std::vector<std::pair<int, const uchar *>> m_rowCells;
    std::function<void(const QRect &)> m_drawn;
    // Set while a row of cells is drawn, whose area is told once for all its cells.
    bool m_drawingRow = false;
    // The label font of the last point size, with its metrics on the bitmap's density.
    std::optional<QFont> m_font;
    std::optional<QFontMetrics> m_metrics;
};

} // namespace tamo
