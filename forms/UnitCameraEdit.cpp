#include "forms/UnitCameraEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"
#include "forms/UnitMain.h"

#include <QLineEdit>
#include <QListWidget>

TFormCameraEdit *FormCameraEdit = nullptr;

namespace {

constexpr ToolWindowPlacement CameraPlacement{"CameraWindow", 100, 100, 450, 265};

} // namespace

TFormCameraEdit::TFormCameraEdit()
    : ObjectListEditor(CameraPlacement, FormMain->ViewCameraWindow, "Cameras Edit",
                       {"camera list", "Camera", EditScope::CameraList, tamo::ObjectKind::Camera, tamo::CameraRecordsStart, tamo::CameraRecordSize})
{
    ListBoxCamera = addListBox("ListBoxCamera", 200, [this] { ListBoxCameraClick(); });
    addLabel(QStringLiteral("X:"), 208, 8);
    EditX = addEdit("EditX", {208, 24, 233, 20});
    addLabel(QStringLiteral("Y:"), 208, 48);
    EditY = addEdit("EditY", {208, 64, 233, 20});
    addUpdateButton({208, 96, 200, 25});
    addLabel(QStringLiteral("Base address"), 224, 152);
    addAddressBox({216, 176, 185, 20}, true);

    placeWindow();
}

int64_t TFormCameraEdit::listOffset() const
{
    // The camera block, whose records start eight bytes in.
    return tamo::CameraBlockOffset(romImage(), FormMain->OffsetTable, FormMain->LevelNumber);
}

QString TFormCameraEdit::lineText(int index, const tamo::CameraRecord &record) const
{
    return QString::fromStdString(tamo::CameraLineText(index, record));
}

tamo::RomPatch TFormCameraEdit::recordPatch(int64_t offset, int line) const
{
    const tamo::CameraRecord record{editValue(EditX, 0),
                                    editValue(EditY, 0)};
    return tamo::CameraRecordPatch(offset, line, record);
}

void TFormCameraEdit::ListBoxCameraClick()
{
    const int line = selectedLine();
    if (line < 0)
        return;
    EditX->setText(QString::number(m_records[line].X));
    EditY->setText(QString::number(m_records[line].Y));
}
