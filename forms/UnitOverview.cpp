#include "forms/UnitOverview.h"

#include "forms/error_report.h"
#include "forms/map_viewport.h"
#include "session/stage_session.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TFormOverview *FormOverview = nullptr;

namespace {

constexpr ToolWindowPlacement overviewPlacement{"OverviewWindow", 0, 560, 800, 120};
constexpr ActionDefinition overviewAction{"ViewOverviewWindow", "Overview(&W)", nullptr, "Overview",
                                          NoShortcut, std::nullopt, true, true};

} // namespace

TFormOverview::TFormOverview(StageSession &session, MapViewport &mapView)
    : ToolWindow(overviewPlacement, overviewAction)
    , m_session(session)
    , m_mapView(mapView)
{
    setObjectName(QStringLiteral("FormOverview"));
    setWindowTitle(QStringLiteral("Overview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);

    connect(&session, &StageSession::stageLoaded, this, &TFormOverview::pictureChanged);
    connect(&session, &StageSession::stageLoadFailed, this, &TFormOverview::pictureChanged);
    connect(&session, &StageSession::cellsRedrawn, this, &TFormOverview::pictureChanged);
    connect(&session, &StageSession::pictureRedrawn, this, &TFormOverview::pictureChanged);
    connect(&mapView, &MapViewport::moved, this, qOverload<>(&QWidget::update));

    LoadPlacement(session.ApplicationIni);
}

void TFormOverview::pictureChanged()
{
    m_pictureStale = true;
    update();
}

void TFormOverview::paintEvent(QPaintEvent *event)
{
    ReportErrors([&] {
        if (m_pictureStale) {
            if (m_session.StageShown())
                m_picture.make(m_mapView.picture(), size());
            else
                m_picture.clear();
            m_pictureStale = false;
        }
        QPainter painter(this);
        m_picture.paint(painter, event->rect(), m_mapView.shownArea());
    });
}

void TFormOverview::resizeEvent(QResizeEvent *event)
{
    ToolWindow::resizeEvent(event);
    pictureChanged();
}

void TFormOverview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        ReportErrors([&] { moveMapViewTo(event->position().toPoint()); });
}

void TFormOverview::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        ReportErrors([&] { moveMapViewTo(event->position().toPoint()); });
}

void TFormOverview::moveMapViewTo(const QPoint &at)
{
    if (m_picture.image().isNull())
        return;
    m_mapView.centreOn(m_picture.toStage(at));
}
