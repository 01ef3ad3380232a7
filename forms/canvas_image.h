#pragma once

#include <QWidget>

class QPainter;
class QScrollArea;

namespace tamo {
class QtCanvas;
}

// An image control that shows a retained canvas one to one. Repaints copy only the
// exposed area from the canvas' bitmap; the canvas is never drawn again for them.
// A button press captures the pointer until the last button is released, so moves and
// the release keep arriving when the pointer has left the image.
class CanvasImage : public QWidget
{
    Q_OBJECT

public:
    CanvasImage(tamo::QtCanvas &canvas, QWidget *parent);

    // Takes the canvas' size, which its drawing may have narrowed.
    virtual void followCanvasSize();
    virtual void updateCell(int column, int row);
    // A short text shown centred over the part of the image in view, drawn over the
    // picture and never into the canvas; empty for none.
    void setNote(const QString &note);
    // The canvas pixel shown at a point of the control: the same point, one to one.
    virtual QPoint canvasPoint(const QPoint &point) const { return point; }

signals:
    // Positions in canvas pixels.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(int x, int y, Qt::KeyboardModifiers modifiers);
    void mouseUp(Qt::MouseButton button, int x, int y);

protected:
    // The note, if there is one, over the part of the image in view.
    void drawNote(QPainter &painter);
    tamo::QtCanvas &canvas() const { return m_canvas; }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    // Watches the scroll box's viewport, whose size decides where the note stands.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    tamo::QtCanvas &m_canvas;
    QString m_note;
};

// The scroll box "ScrollBox1" holding image, hidden until first drawn, at its top-left
// corner: one cell per scroll step, the content following the thumb while it is dragged.
QScrollArea *createCellScrollBox(CanvasImage *image, QWidget *parent);
