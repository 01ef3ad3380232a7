#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QScrollArea;
class StageImage;

namespace tamo {
class ZoomedPicture;
}

// The map view as the other windows see it: the part of the stage picture it shows,
// which they may move, and the picture it shows with the reduced copies it keeps.
class MapViewport : public QObject
{
    Q_OBJECT

public:
    MapViewport(QScrollArea &scrollBox, StageImage &image, tamo::ZoomedPicture &picture);

    // The part of the stage picture in view, in its pixels (1:1 at every zoom); empty
    // while no stage is shown.
    QRect shownArea() const;
    // Scrolls the map so that the stage picture pixel stands in the middle of the view,
    // as far as the scroll bars reach.
    void centreOn(const QPoint &stagePixel);
    tamo::ZoomedPicture &picture() const { return m_picture; }

signals:
    // The part in view changed: a scroll, a zoom, a resize or another stage.
    void moved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QScrollArea &m_scrollBox;
    StageImage &m_image;
    tamo::ZoomedPicture &m_picture;
};
