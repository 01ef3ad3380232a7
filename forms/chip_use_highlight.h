#pragma once

#include <QObject>
#include <QString>

class StageImage;
class StageSession;

// While switched on, the map view tints every cell of the stage shown whose chip is the
// pen's chip, and the count of them is told; both follow the pen, every stage load and
// every change of the image.
class ChipUseHighlight : public QObject
{
    Q_OBJECT

public:
    ChipUseHighlight(StageSession &session, StageImage &view, QObject *parent);

    void setShown(bool shown);

signals:
    // "used in 214 cells" (the pen's chip, in the stage shown); empty while switched off.
    void countChanged(const QString &text);

private:
    void follow();

    StageSession &m_session;
    StageImage &m_view;
    bool m_shown = false;
};
