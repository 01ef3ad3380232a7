#include "forms/canvas_image.h"

#include "qtcommon/qt_canvas.h"
#include "view/canvas.h"

#include <QFontMetrics>
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
    // A bitmap not made yet, or narrowed by the drawing, leaves the control without pixels.
    if (!bitmap.isNull())
        painter.drawImage(exposed.topLeft(), bitmap, exposed);
    const QRegion beyond = QRegion(exposed).subtracted(QRegion(bitmap.rect()));
    for (const QRect &rect : beyond)
        painter.fillRect(rect, QColor(background.red, background.green, background.blue));
    drawNote(painter);
}

void CanvasImage::setNote(const QString &note)
{
    m_note = note;
    update();
}

void CanvasImage::drawNote(QPainter &painter)
{
    if (m_note.isEmpty())
        return;
    const QRect view = visibleRegion().boundingRect();
    const QFontMetrics metrics = painter.fontMetrics();
    const QSize text = metrics.size(0, m_note);
    constexpr int Padding = 8;
    QRect box(0, 0, text.width() + 2 * Padding, text.height() + 2 * Padding);
    box.moveCenter(view.center());
    painter.fillRect(box, QColor(255, 255, 225));
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawText(box, Qt::AlignCenter, m_note);
}

void CanvasImage::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // Scrolling moves the image; the note stays in the middle of the view.
    if (!m_note.isEmpty())
        update();
}

bool CanvasImage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && !m_note.isEmpty())
        update();
    return QWidget::eventFilter(watched, event);
}

void CanvasImage::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = canvasPoint(event->position().toPoint());
    emit mouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void CanvasImage::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = canvasPoint(event->position().toPoint());
    emit mouseMove(at.x(), at.y(), event->modifiers());
}

void CanvasImage::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = canvasPoint(event->position().toPoint());
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
    scrollBox->viewport()->installEventFilter(image);
    image->hide();
    return scrollBox;
}
