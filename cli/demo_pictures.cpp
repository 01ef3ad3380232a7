#include "cli/demo_pictures.h"

#include "cli/demo_themes.h"
#include "core/stage.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <array>

namespace tamo::cli {

namespace {

constexpr int S = CellSize;

// A 3 x 5 pixel digit font, one row of three bits per line.
constexpr std::array<std::array<uint8_t, 5>, 10> digitRows{{
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
}};

// The chip number in the top left corner, faint: it tells every chip apart and shows
// every flip, also on chips that are otherwise plain.
void drawChipNumber(QPainter &painter, int chip)
{
    const QString digits = QString::number(chip);
    const QColor ink(0, 0, 0, 70);
    for (qsizetype d = 0; d < digits.size(); ++d) {
        const auto &rows = digitRows[static_cast<size_t>(digits[d].digitValue())];
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 3; ++x) {
                if (rows[static_cast<size_t>(y)] & (4 >> x))
                    painter.fillRect(2 + 4 * static_cast<int>(d) + x, 2 + y, 1, 1, ink);
            }
        }
    }
}

// Light falls from the top left: a bright top and left edge, a dark bottom and right one.
void bevel(QPainter &painter, const QRect &rect, const QColor &color)
{
    painter.fillRect(rect, color);
    painter.fillRect(rect.left(), rect.top(), rect.width(), 2, color.lighter(130));
    painter.fillRect(rect.left(), rect.top(), 2, rect.height(), color.lighter(120));
    painter.fillRect(rect.left(), rect.bottom() - 1, rect.width(), 2, color.darker(140));
    painter.fillRect(rect.right() - 1, rect.top(), 2, rect.height(), color.darker(130));
}

void speckle(QPainter &painter, const QColor &color, int seed)
{
    for (int i = 0; i < 14; ++i) {
        const int x = (seed * 7 + i * 13) % 29;
        const int y = (seed * 5 + i * 11) % 29;
        painter.fillRect(x + 1, y + 1, 2, 2, color);
    }
}

void drawGroundBody(QPainter &painter, const DemoTheme &t, int left)
{
    painter.fillRect(left, 0, S - left, S, t.ground);
    speckle(painter, t.groundDark, 3);
}

void drawGrassTop(QPainter &painter, const DemoTheme &t, int left)
{
    painter.fillRect(left, 0, S - left, 8, t.grass);
    painter.fillRect(left, 0, S - left, 2, t.grass.lighter(125));
    for (int x = left; x < S; x += 4)
        painter.fillRect(x + 1, 8, 2, (x / 4) % 2 ? 3 : 2, t.grass.darker(120));
}

void drawPlank(QPainter &painter, const DemoTheme &t, int left, int right)
{
    bevel(painter, QRect(left, 2, right - left, 10), t.wood);
    for (int x = left + 6; x < right - 2; x += 10)
        painter.fillRect(x, 6, 2, 2, t.wood.darker(170));
}

void drawChip(QPainter &painter, int chip, const DemoTheme &t)
{
    painter.fillRect(0, 0, S, S, t.sky);
    switch (chip) {
    case ChipSky:
        painter.fillRect(21, 9, 2, 2, t.sky.lighter(112));
        break;
    case ChipSkyLow:
        for (int y = 0; y < S; y += 4) {
            const int mix = y * 255 / S;
            painter.fillRect(0, y, S, 4,
                             QColor((t.sky.red() * (255 - mix) + t.skyLow.red() * mix) / 255,
                                    (t.sky.green() * (255 - mix) + t.skyLow.green() * mix) / 255,
                                    (t.sky.blue() * (255 - mix) + t.skyLow.blue() * mix) / 255));
        }
        break;
    case ChipCloudLeft:
    case ChipCloudRight: {
        const bool left = chip == ChipCloudLeft;
        painter.setBrush(QColor(250, 250, 250));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint(left ? 32 : 0, 20), 22, 9);
        painter.drawEllipse(QPoint(left ? 22 : 6, 13), 9, 8);
        painter.setBrush(QColor(210, 220, 235));
        painter.drawRect(left ? 12 : 0, 26, left ? 20 : 18, 2);
        break;
    }
    case ChipGrass:
        drawGroundBody(painter, t, 0);
        drawGrassTop(painter, t, 0);
        break;
    case ChipGrassEdge:
        drawGroundBody(painter, t, 6);
        drawGrassTop(painter, t, 4);
        painter.fillRect(6, 8, 2, S - 8, t.groundDark);
        break;
    case ChipGround:
        drawGroundBody(painter, t, 0);
        break;
    case ChipGroundStones:
        drawGroundBody(painter, t, 0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.groundDark.lighter(160));
        painter.drawEllipse(QRect(4, 6, 9, 7));
        painter.drawEllipse(QRect(18, 17, 10, 8));
        painter.drawEllipse(QRect(7, 22, 6, 5));
        break;
    case ChipGroundSide:
        drawGroundBody(painter, t, 6);
        painter.fillRect(6, 0, 2, S, t.groundDark);
        painter.fillRect(8, 0, 2, S, t.ground.lighter(115));
        break;
    case ChipBrick:
        painter.fillRect(0, 0, S, S, t.brick.darker(160));
        for (int row = 0; row < 4; ++row) {
            const int shift = row % 2 ? 8 : 0;
            for (int x = -shift; x < S; x += 16)
                bevel(painter, QRect(x + 1, row * 8 + 1, 14, 6).intersected(QRect(0, 0, S, S)), t.brick);
        }
        break;
    case ChipBrickWindow:
        painter.fillRect(0, 0, S, S, t.brick.darker(160));
        bevel(painter, QRect(4, 4, 24, 24), t.wood);
        painter.fillRect(8, 8, 16, 16, t.skyLow.lighter(115));
        painter.fillRect(15, 8, 2, 16, t.wood.darker(120));
        painter.fillRect(8, 15, 16, 2, t.wood.darker(120));
        break;
    case ChipPlatformEnd:
        drawPlank(painter, t, 6, S);
        painter.fillRect(6, 12, 4, 8, t.wood.darker(150));
        break;
    case ChipPlatform:
        drawPlank(painter, t, 0, S);
        break;
    case ChipLadder:
        painter.fillRect(6, 0, 4, S, t.wood);
        painter.fillRect(22, 0, 4, S, t.wood.darker(120));
        for (int y = 3; y < S; y += 8)
            painter.fillRect(10, y, 12, 3, t.wood.lighter(115));
        break;
    case ChipBush:
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.leaf);
        painter.drawEllipse(QRect(-4, 14, 22, 22));
        painter.drawEllipse(QRect(10, 10, 26, 26));
        painter.setBrush(t.leaf.lighter(140));
        painter.drawEllipse(QRect(15, 14, 6, 5));
        break;
    case ChipFlower:
        painter.fillRect(14, 14, 3, 18, t.leaf);
        painter.fillRect(17, 22, 6, 3, t.leaf);
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.accent);
        painter.drawEllipse(QPoint(15, 10), 6, 6);
        painter.setBrush(t.accent.darker(150));
        painter.drawEllipse(QPoint(15, 10), 2, 2);
        break;
    case ChipTrunk:
        painter.fillRect(10, 0, 13, S, t.wood);
        painter.fillRect(10, 0, 3, S, t.wood.lighter(125));
        painter.fillRect(15, 6, 2, 9, t.wood.darker(150));
        painter.fillRect(19, 18, 2, 8, t.wood.darker(150));
        break;
    case ChipLeaves:
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.leaf.darker(115));
        painter.drawEllipse(QRect(0, 4, 32, 30));
        painter.setBrush(t.leaf);
        painter.drawEllipse(QRect(3, 2, 24, 22));
        painter.setBrush(t.leaf.lighter(135));
        painter.drawEllipse(QRect(7, 5, 8, 6));
        break;
    case ChipWaterTop:
        painter.fillRect(0, 10, S, S - 10, t.water);
        for (int x = 0; x < S; x += 8)
            painter.fillRect(x, 8, 5, 2, t.water.lighter(150));
        break;
    case ChipWater:
        painter.fillRect(0, 0, S, S, t.water);
        painter.fillRect(4, 6, 7, 2, t.water.lighter(130));
        painter.fillRect(18, 19, 9, 2, t.water.lighter(130));
        break;
    case ChipRock: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.groundDark.lighter(130));
        painter.drawPolygon(QPolygon({QPoint(2, 31), QPoint(6, 12), QPoint(15, 5), QPoint(27, 11),
                                      QPoint(31, 31)}));
        painter.setBrush(t.groundDark.lighter(170));
        painter.drawPolygon(QPolygon({QPoint(8, 14), QPoint(15, 8), QPoint(19, 12), QPoint(10, 20)}));
        break;
    }
    case ChipHillSlope:
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.leaf.lighter(115));
        painter.drawPolygon(QPolygon({QPoint(0, 31), QPoint(31, 2), QPoint(31, 31)}));
        break;
    case ChipHorizon:
        painter.fillRect(0, 0, S, S, t.skyLow);
        painter.fillRect(9, 20, 2, 2, t.skyLow.lighter(106));
        break;
    case ChipSign:
        painter.fillRect(14, 16, 4, 16, t.wood.darker(130));
        bevel(painter, QRect(4, 4, 24, 13), t.wood);
        painter.fillRect(9, 9, 11, 3, t.wood.darker(180));
        painter.fillRect(19, 7, 2, 7, t.wood.darker(180));
        painter.fillRect(21, 8, 2, 5, t.wood.darker(180));
        break;
    case ChipSpikes: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 200, 210));
        for (int x = 0; x < S; x += 8)
            painter.drawPolygon(QPolygon({QPoint(x, 31), QPoint(x + 4, 16), QPoint(x + 8, 31)}));
        painter.fillRect(0, 29, S, 3, QColor(120, 120, 130));
        break;
    }
    case ChipBridge:
        painter.fillRect(0, 4, S, 2, t.wood.darker(160));
        for (int x = 1; x < S; x += 8)
            bevel(painter, QRect(x, 8, 6, 8), t.wood);
        break;
    case ChipVine:
        for (int y = 0; y < S; y += 4)
            painter.fillRect(14 + ((y / 4) % 3) * 2, y, 3, 4, t.leaf);
        painter.fillRect(19, 10, 6, 4, t.leaf.lighter(130));
        break;
    case ChipSun:
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.accent.lighter(120));
        painter.drawEllipse(QPoint(18, 15), 10, 10);
        painter.setBrush(t.accent.lighter(160));
        painter.drawEllipse(QPoint(14, 11), 3, 3);
        break;
    case ChipStar:
        painter.fillRect(15, 6, 2, 14, t.accent.lighter(150));
        painter.fillRect(9, 12, 14, 2, t.accent.lighter(150));
        painter.fillRect(24, 24, 2, 2, t.accent);
        break;
    case ChipCrate:
        bevel(painter, QRect(1, 1, 30, 30), t.wood);
        for (int i = 4; i < 28; ++i) {
            painter.fillRect(i, i, 2, 2, t.wood.darker(150));
            painter.fillRect(31 - i, i, 2, 2, t.wood.darker(130));
        }
        break;
    case ChipLampPost: {
        const QColor iron(70, 74, 84);
        painter.fillRect(15, 12, 3, 20, iron);
        painter.fillRect(11, 29, 11, 3, iron);
        painter.fillRect(10, 3, 13, 2, iron);
        painter.setPen(Qt::NoPen);
        painter.setBrush(t.accent.lighter(140));
        painter.drawEllipse(QRect(11, 5, 11, 8));
        break;
    }
    case ChipMailbox:
        painter.fillRect(14, 17, 4, 15, t.wood.darker(130));
        bevel(painter, QRect(5, 5, 22, 13), t.brick);
        painter.fillRect(9, 9, 12, 2, t.brick.darker(200));
        painter.fillRect(24, 2, 2, 8, t.accent);
        break;
    default:
        break;
    }
    drawChipNumber(painter, chip);
}

QImage chipImage(int chip, const DemoTheme &theme)
{
    QImage image(S, S, QImage::Format_RGB888);
    QPainter painter(&image);
    drawChip(painter, chip, theme);
    return image;
}

void drawMark(QPainter &painter, int cell, const QColor &color)
{
    const int left = cell * S;
    painter.fillRect(left, 0, S, S, Qt::black);
    painter.setPen(QPen(color, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(left + 1, 1, S - 2, S - 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    switch (cell) {
    case 0: // sprite with Param 1: a disc in the lower right
        painter.drawEllipse(QPoint(left + 22, 22), 6, 6);
        break;
    case 1: // start point: an arrow pointing down at it
        painter.fillRect(left + 20, 11, 4, 9, color);
        painter.drawPolygon(QPolygon({QPoint(left + 15, 19), QPoint(left + 28, 19), QPoint(left + 22, 27)}));
        break;
    case 2: // camera: a body and a lens
        painter.fillRect(left + 14, 18, 14, 10, color);
        painter.fillRect(left + 18, 15, 5, 3, color);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPoint(left + 21, 23), 3, 3);
        break;
    default: // other sprite: a diamond
        painter.drawPolygon(QPolygon({QPoint(left + 22, 14), QPoint(left + 29, 22), QPoint(left + 22, 29),
                                      QPoint(left + 15, 22)}));
        break;
    }
}

} // namespace

QImage demoChipPicture(int32_t tilemap)
{
    const DemoTheme &theme = demoTheme(tilemap);
    const int rows = (DemoChipCount + ChipsPerRow - 1) / ChipsPerRow;
    QImage picture(ChipPictureWidth, rows * S, QImage::Format_RGB888);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (int chip = 0; chip < DemoChipCount; ++chip) {
        const QImage image = chipImage(chip, theme);
        const int x = (chip % ChipsPerRow) * S;
        const int y = (chip / ChipsPerRow) * S;
        painter.drawImage(x, y, image);
        painter.drawImage(x + ChipBlockWidth, y, image.mirrored(true, false));
        painter.drawImage(x + 2 * ChipBlockWidth, y, image.mirrored(false, true));
        painter.drawImage(x + 3 * ChipBlockWidth, y, image.mirrored(true, true));
    }
    return picture;
}

QImage demoMarkPicture()
{
    QImage picture(4 * S, S, QImage::Format_RGB888);
    QPainter painter(&picture);
    drawMark(painter, 0, QColor(255, 0, 0));
    drawMark(painter, 1, QColor(255, 255, 0));
    drawMark(painter, 2, QColor(0, 255, 0));
    drawMark(painter, 3, QColor(255, 0, 255));
    return picture;
}

} // namespace tamo::cli
