#pragma once

#include "view/overview_scale.h"

#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

namespace tamo {

class ZoomedPicture;

// The whole stage picture reduced to fit a room, for a window that shows where the map
// view stands in the stage. It is made from the reduced copy nearest its size, which the
// map view keeps up to date for its own zooms below 1, so that little is read to make it.
class OverviewPicture
{
public:
    // Makes the picture anew from the stage picture as it stands now; an empty picture
    // when nothing was drawn yet.
    void make(ZoomedPicture &stage, QSize room);
    void clear();

    const OverviewScale &scale() const { return m_scale; }
    const QImage &image() const { return m_image; }

    // The overview pixels that show an area of the stage picture, in its pixels.
    QRect toOverview(const QRect &stageArea) const;
    // The stage picture pixel in the middle of an overview pixel.
    QPoint toStage(const QPoint &overview) const;

    // Paints the area (overview pixels): the picture, the background beyond it, and the
    // frame of the stage area that the map view shows, when it has one.
    void paint(QPainter &painter, const QRect &area, const QRect &shownStageArea) const;

private:
    OverviewScale m_scale;
    QImage m_image;
};

} // namespace tamo
