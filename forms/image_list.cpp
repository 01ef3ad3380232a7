#include "forms/image_list.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace {

constexpr int iconSize = 16;

void drawOpen(QPainter &p)
{
    // A folder, its lid open.
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(230, 190, 70));
    p.drawRect(1, 4, 12, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(250, 220, 110));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
}

void drawSave(QPainter &p)
{
    // A floppy disk.
    p.setPen(QColor(20, 30, 80));
    p.setBrush(QColor(50, 80, 170));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(3, 9, 9, 5);
}

void drawChipWindow(QPainter &p)
{
    // A grid of four differently coloured chips.
    const QColor colours[] = {QColor(60, 160, 60), QColor(150, 100, 50), QColor(80, 130, 220),
                              QColor(220, 200, 80)};
    p.setPen(Qt::black);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(1 + (i % 2) * 7, 1 + (i / 2) * 7, 6, 6);
    }
}

void drawSpriteWindow(QPainter &p)
{
    // A little creature: round body with two eyes.
    p.setPen(QColor(120, 0, 0));
    p.setBrush(QColor(230, 60, 60));
    p.drawEllipse(2, 3, 12, 11);
    p.setBrush(Qt::white);
    p.drawEllipse(4, 6, 3, 3);
    p.drawEllipse(9, 6, 3, 3);
}

void drawBananaWindow(QPainter &p)
{
    // A banana.
    QPainterPath banana;
    banana.moveTo(2, 4);
    banana.quadTo(4, 14, 14, 12);
    banana.quadTo(6, 11, 5, 3);
    banana.closeSubpath();
    p.setPen(QColor(140, 110, 0));
    p.setBrush(QColor(250, 220, 40));
    p.drawPath(banana);
}

void drawLoadStage(QPainter &p)
{
    // A map sheet with a flag on it.
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(180, 220, 160));
    p.drawRect(1, 2, 13, 12);
    p.setPen(QColor(80, 40, 0));
    p.drawLine(6, 4, 6, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(QPolygon({QPoint(7, 4), QPoint(12, 6), QPoint(7, 8)}));
}

void drawArrowPair(QPainter &p, bool horizontal)
{
    // Two arrows pointing away from a mirror line.
    p.setPen(QPen(QColor(0, 90, 160), 1));
    p.setBrush(QColor(0, 120, 210));
    const QPolygon first({QPoint(1, 8), QPoint(6, 3), QPoint(6, 13)});
    const QPolygon second({QPoint(14, 8), QPoint(9, 3), QPoint(9, 13)});
    QTransform turn;
    if (!horizontal)
        turn = QTransform(0, 1, 1, 0, 0, 0); // swaps x and y
    p.drawPolygon(turn.map(first));
    p.drawPolygon(turn.map(second));
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawLine(turn.map(QLine(7, 0, 7, 15)));
}

void drawStageConfig(QPainter &p)
{
    // A gear wheel.
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(150, 150, 150));
    p.translate(8, 8);
    for (int tooth = 0; tooth < 8; ++tooth) {
        p.drawRect(-1, -8, 3, 4);
        p.rotate(45);
    }
    p.drawEllipse(QPoint(0, 0), 5, 5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(0, 0), 2, 2);
}

void drawCameraWindow(QPainter &p)
{
    // A camera body with its lens.
    p.setPen(Qt::black);
    p.setBrush(QColor(70, 70, 70));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(4, 2, 4, 2);
    p.setBrush(QColor(120, 180, 240));
    p.drawEllipse(5, 6, 6, 6);
}

void drawTurnArrow(QPainter &p, bool back)
{
    // An arrow bending back to the left (undo), or its mirror image (redo).
    if (!back)
        p.setTransform(QTransform(-1, 0, 0, 1, iconSize, 0));
    QPainterPath bend;
    bend.moveTo(4, 7);
    bend.cubicTo(9, 2, 15, 5, 13, 13);
    p.setPen(QPen(QColor(30, 110, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bend);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 60));
    p.drawPolygon(QPolygon({QPoint(1, 9), QPoint(2, 3), QPoint(7, 5)}));
}

void drawFill(QPainter &p)
{
    // A tipped pail pouring paint.
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(7, 8);
    p.rotate(-30);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(-5, -4, 9, 9);
    p.resetTransform();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 140, 255));
    p.drawEllipse(QPointF(12.5, 12.5), 2.5, 3);
    p.drawRect(11, 6, 3, 6);
}

void drawPaintTiles(QPainter &p)
{
    // A brush over a chip.
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(120, 190, 240));
    p.drawRect(1, 8, 7, 7);
    p.setPen(QPen(QColor(140, 90, 40), 2));
    p.drawLine(14, 1, 8, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 120));
    p.drawEllipse(5, 6, 5, 5);
}

void drawMoveObjects(QPainter &p)
{
    // Four arrows pointing out from the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 170));
    p.drawRect(7, 3, 2, 10);
    p.drawRect(3, 7, 10, 2);
    p.drawPolygon(QPolygon({QPoint(8, 0), QPoint(11, 4), QPoint(5, 4)}));
    p.drawPolygon(QPolygon({QPoint(8, 16), QPoint(11, 12), QPoint(5, 12)}));
    p.drawPolygon(QPolygon({QPoint(0, 8), QPoint(4, 5), QPoint(4, 11)}));
    p.drawPolygon(QPolygon({QPoint(16, 8), QPoint(12, 5), QPoint(12, 11)}));
}

void drawTestInEmulator(QPainter &p)
{
    // A green triangle pointing right: play.
    p.setPen(QColor(20, 90, 20));
    p.setBrush(QColor(70, 190, 70));
    p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(14, 8), QPoint(3, 15)}));
}

} // namespace

QIcon ImageList1(ImageListIcon icon)
{
    QPixmap pixmap(iconSize, iconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    switch (icon) {
    case ImageListIcon::Open: drawOpen(painter); break;
    case ImageListIcon::Save: drawSave(painter); break;
    case ImageListIcon::ChipWindow: drawChipWindow(painter); break;
    case ImageListIcon::SpriteWindow: drawSpriteWindow(painter); break;
    case ImageListIcon::BananaWindow: drawBananaWindow(painter); break;
    case ImageListIcon::LoadStage: drawLoadStage(painter); break;
    case ImageListIcon::HFlip: drawArrowPair(painter, true); break;
    case ImageListIcon::VFlip: drawArrowPair(painter, false); break;
    case ImageListIcon::StageConfig: drawStageConfig(painter); break;
    case ImageListIcon::CameraWindow: drawCameraWindow(painter); break;
    case ImageListIcon::Undo: drawTurnArrow(painter, true); break;
    case ImageListIcon::Redo: drawTurnArrow(painter, false); break;
    case ImageListIcon::Fill: drawFill(painter); break;
    case ImageListIcon::PaintTiles: drawPaintTiles(painter); break;
    case ImageListIcon::MoveObjects: drawMoveObjects(painter); break;
    case ImageListIcon::TestInEmulator: drawTestInEmulator(painter); break;
    }
    painter.end();
    return QIcon(pixmap);
}
