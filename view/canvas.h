#pragma once

#include "core/stage.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

namespace tamo {

// The side of every copied rectangle: one map cell.
constexpr int CellPixels = CellSize;

struct Rgb
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
// What a freshly made bitmap holds, and what a cell shows when it has no chip to show.
constexpr Rgb BackgroundColor = White;

struct PicturePoint
{
    int x = 0;
    int y = 0;

    friend bool operator==(const PicturePoint &, const PicturePoint &) = default;
};

// A loaded bitmap (a chip bitmap or the mark bitmap).
class Picture
{
public:
    virtual ~Picture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

enum class CopyMode {
    Plain,
    Inverted, // every destination pixel becomes the inverse of its source pixel
};

struct TextStyle
{
    int pointSize = 8; // in the toolkit's default face
    Rgb color = Black;
    Rgb background = Black; // the text stands on an opaque box of this colour
};

// The system could not make a bitmap of the size asked for.
class OutOfResources : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A retained image: it keeps what was drawn into it. Its bitmap is made by the first
// drawing after a resize() or clear() (filled with BackgroundColor); every drawing call
// may throw OutOfResources when that bitmap cannot be made. Drawing is clipped to the
// image, and a copy reads only the part of its source rectangle that lies inside the
// picture (the rest of the cell is BackgroundColor).
class Canvas
{
public:
    static constexpr int64_t NoBitmapLimit = std::numeric_limits<int64_t>::max();

    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;
    // Sets the size and drops the bitmap.
    virtual void resize(int width, int height) = 0;
    // Drops the bitmap; the next drawing starts from a fresh one.
    virtual void clear() = 0;

    // Copies the 32 x 32 rectangle at (sourceX, sourceY) of source to (x, y).
    virtual void copyCell(const Picture &source, int sourceX, int sourceY, int x, int y,
                          CopyMode mode) = 0;
    // Fills the 32 x 32 cell at (x, y) with BackgroundColor.
    virtual void fillCell(int x, int y) = 0;
    // A row of cells side by side, the first at (x, y): each a plain copy from its corner
    // in source, or BackgroundColor for a cell without one (source may be null when no
    // cell has one). The same as one copyCell or fillCell per cell, which is what this
    // does unless a canvas knows a faster way.
    virtual void copyCellRow(const Picture *source,
                             std::span<const std::optional<PicturePoint>> cells, int x, int y);
    // Writes one line of text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, std::string_view text, const TextStyle &style) = 0;

    // The largest bitmap, in bytes, the canvas will make; a larger one fails as
    // OutOfResources. The default is no limit beyond what the system can allocate.
    virtual void setBitmapLimit(int64_t bytes) = 0;
};

} // namespace tamo
