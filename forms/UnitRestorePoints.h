#pragma once

#include "document/restore_points.h"

#include <QDialog>

#include <optional>
#include <vector>

class QPushButton;
class QTreeWidget;
class StageSession;

// The modal dialog that lists the restore points of the ROM file, newest first, each with
// how it differs from the image in memory, and hands back the one to restore.
class TFormRestorePoints : public QDialog
{
    Q_OBJECT

public:
    TFormRestorePoints(StageSession &session, QWidget *parent);

    // Runs the dialog modally; the restore point chosen, or none.
    std::optional<RestorePoint> Execute(const std::vector<RestorePoint> &points);

    void ButtonRestoreClick();
    void ButtonCancelClick();

private:
    void fillList();

    StageSession &m_session;
    std::vector<RestorePoint> m_points;
    std::optional<RestorePoint> m_result;
    QTreeWidget *ListViewRestorePoints = nullptr;
    QPushButton *ButtonRestore = nullptr;
    QPushButton *ButtonCancel = nullptr;
};
