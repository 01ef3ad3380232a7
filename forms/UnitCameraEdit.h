#pragma once

#include "core/object_lists.h"
#include "forms/object_list_window.h"

// The camera editor: the current stage's cameras, one line each, the selected one's
// position in two edit boxes, and Update to write it back in place.
class TFormCameraEdit : public ObjectListEditor<tamo::CameraRecord>
{
public:
    explicit TFormCameraEdit(StageSession &session);
};

extern TFormCameraEdit *FormCameraEdit;
