#pragma once

#include "forms/tool_window.h"
#include "qtcommon/overview_picture.h"

class MapViewport;
class StageSession;

// The whole stage shown, reduced to the window, with a frame round the part the map view
// shows; a click or a drag there brings that part of the stage into the map view. It
// follows every drawing of the stage picture, stage loads and the map view's moves.
class TFormOverview : public ToolWindow
{
    Q_OBJECT

public:
    TFormOverview(StageSession &session, MapViewport &mapView);

    // The picture as the last paint made it.
    const tamo::OverviewPicture &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The picture is made again at the next paint, which comes only while it is shown.
    void pictureChanged();
    // Brings the stage pixel at the overview point into the middle of the map view.
    void moveMapViewTo(const QPoint &at);

    StageSession &m_session;
    MapViewport &m_mapView;
    tamo::OverviewPicture m_picture;
    bool m_pictureStale = true;
};

extern TFormOverview *FormOverview;
