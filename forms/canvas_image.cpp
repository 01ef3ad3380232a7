#include "forms/canvas_image.h"

#include "forms/common/qt_canvas.h"
#include "view/canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

CanvasImage::CanvasImage(tamo::QtCanvas &canvas, QWidget *parent)
    : QWidget(parent)
    , m_canvas(canvas)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    followCanvasSize();
}

void CanvasImage::followCanvasSize()
{
    setFixedSize(m_canvas.width(), m_canvas.height());
}

void CanvasImage::updateCell(int column, int row)
{
    update(column * tamo::CellPixels, row * tamo::CellPixels, tamo::CellPixels,
           tamo::CellPixels);
}

void CanvasImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QImage &bitmap = m_canvas.bitmap();
    const tamo::Rgb background = tamo::BackgroundColor;
    if (bitmap.isNull()) {
        painter.fillRect(exposed, QColor(background.red, background.green, background.blue));
        return;
    }
    painter.drawImage(exposed.topLeft(), bitmap, exposed);
    // A bitmap narrowed by the drawing leaves part of the control without pixels.
    const QRegion beyond = QRegion(exposed).subtracted(QRegion(bitmap.rect()));
    for (const QRect &rect : beyond)
        painter.fillRect(rect, QColor(background.red, background.green, background.blue));
}

void CanvasImage::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseDown(event->button(), at.x(), at.y());
}

void CanvasImage::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseMove(at.x(), at.y());
}

void CanvasImage::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseUp(event->button(), at.x(), at.y());
}

QScrollArea *createCellScrollBox(CanvasImage *image, QWidget *parent)
{
    auto *scrollBox = new QScrollArea(parent);
    scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollBox->setWidgetResizable(false);
    for (QScrollBar *bar : {scrollBox->horizontalScrollBar(), scrollBox->verticalScrollBar()}) {
        bar->setSingleStep(tamo::CellPixels);
        bar->setTracking(true);
    }
    scrollBox->setWidget(image);
    image->hide();
    return scrollBox;
}
