#include "forms/UnitCameraEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"

TFormCameraEdit *FormCameraEdit = nullptr;

namespace {

using Camera = tamo::CameraRecord;

// The list's offset is the camera block's, whose records start eight bytes in.
const ObjectListKind cameras{
    .placement = {"CameraWindow", 100, 100, 450, 265},
    .toggle = {"ViewCameraWindow", "CameraEdit(&D)", "Cameras(&D)", "Cameras", QKeyCombination(Qt::Key_F8),
               ImageListIcon::CameraWindow, true, true},
    .caption = "Cameras Edit",
    .name = "camera list",
    .stepName = "Camera",
    .scope = EditScope::CameraList,
    .markKind = tamo::ObjectKind::Camera,
    .firstRecord = tamo::CameraRecordsStart,
    .recordSize = tamo::CameraRecordSize,
    .offset = tamo::CameraBlockOffset,
};

RecordList<Camera> records()
{
    return {tamo::ReadCameraList, tamo::CameraRecordPatch, tamo::CameraLineText,
            {{"EditX", {208, 24, 233, 20}, &Camera::X, 0, 0}, {"EditY", {208, 64, 233, 20}, &Camera::Y, 0, 0}}};
}

} // namespace

TFormCameraEdit::TFormCameraEdit(StageSession &session)
    : ObjectListEditor(session, cameras, records())
{
    build({"ListBoxCamera", 200, {{"X:", {208, 8}}, {"Y:", {208, 48}}, {"Base address", {224, 152}}},
           {208, 96, 200, 25}, {216, 176, 185, 20}, true});
}
