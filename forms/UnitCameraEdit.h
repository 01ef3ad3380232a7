#pragma once

#include "core/object_lists.h"
#include "forms/object_list_window.h"

#include <vector>

class QLineEdit;
class QListWidget;

// The camera editor: the current stage's cameras, one line each, the selected one's
// position in two edit boxes, and Update to write it back in place.
class TFormCameraEdit : public ObjectListEditor<tamo::CameraRecord, tamo::ReadCameraList>
{
    Q_OBJECT

public:
    TFormCameraEdit();

    void ListBoxCameraClick();

private:
    int64_t listOffset() const override;
    QString lineText(int index, const tamo::CameraRecord &record) const override;
    tamo::RomPatch recordPatch(int64_t offset, int line) const override;

    QListWidget *ListBoxCamera = nullptr;
    QLineEdit *EditX = nullptr;
    QLineEdit *EditY = nullptr;
};

extern TFormCameraEdit *FormCameraEdit;
