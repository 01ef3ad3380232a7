#include "forms/UnitCameraEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"

TFormCameraEdit *FormCameraEdit = nullptr;

namespace {

using Camera = tamo::CameraRecord;

const ToolWindowPlacement placement{"CameraWindow", 100, 100, 450, 265};
const ActionDefinition toggle{"ViewCameraWindow", "CameraEdit(&D)", "Cameras(&D)", "Cameras",
                              QKeyCombination(Qt::Key_F8), ImageListIcon::CameraWindow, true, true};
// The list's offset is the camera block's, whose records start eight bytes in.
const ObjectListKind kind{"camera list", "Camera", EditScope::CameraList, tamo::ObjectKind::Camera,
                                      tamo::CameraRecordsStart, tamo::CameraRecordSize, tamo::CameraBlockOffset};

RecordList<Camera> records()
{
    return {tamo::ReadCameraList, tamo::CameraRecordPatch, tamo::CameraLineText,
            {{"EditX", {208, 24, 233, 20}, &Camera::X, 0, 0}, {"EditY", {208, 64, 233, 20}, &Camera::Y, 0, 0}}};
}

} // namespace

TFormCameraEdit::TFormCameraEdit(StageSession &session)
    : ObjectListEditor(session, placement, toggle, "Cameras Edit", kind, records())
{
    build({"ListBoxCamera", 200, {{"X:", {208, 8}}, {"Y:", {208, 48}}, {"Base address", {224, 152}}},
           {208, 96, 200, 25}, {216, 176, 185, 20}, true});
}
