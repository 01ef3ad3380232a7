#pragma once

#include "forms/tool_window.h"

#include <cstdint>

class MapViewport;
class QLabel;
class QListWidget;
class QListWidgetItem;
class StageSession;

// Every stage in screen mode 0 whose tile map uses the pen's chip, with its number, name
// and how many of its cells use it; a double-click shows that stage with its first use in
// the middle of the map view, the pen keeping the chip. The list follows the pen and
// every change of the image while the window is shown, and is made again when it is
// shown after either.
class TFormChipUses : public ToolWindow
{
    Q_OBJECT

public:
    TFormChipUses(StageSession &session, MapViewport &mapView);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The list is made again once the events waiting now are handled, so that a stroke's
    // many cells make it once.
    void listChanged();
    void followPen();
    void RefreshList();
    void ListBoxChipUsesDblClick(QListWidgetItem *item);

    StageSession &m_session;
    MapViewport &m_mapView;
    QLabel *LabelChip = nullptr;
    QListWidget *ListBoxChipUses = nullptr;
    // The chip the list is for, and whether the image changed since it was made.
    int32_t m_listedChip = -1;
    bool m_listStale = true;
    bool m_refreshQueued = false;
};

extern TFormChipUses *FormChipUses;
