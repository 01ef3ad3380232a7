#include "forms/UnitBananaEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"
#include "forms/UnitMain.h"

#include <QLineEdit>
#include <QListWidget>

TFormBananaEdit *FormBananaEdit = nullptr;

namespace {

constexpr ToolWindowPlacement BananaPlacement{"BananaWindow", 100, 100, 450, 265};

// Text that does not read as a number stands for this group.
constexpr int32_t DefaultGroup = 2;

} // namespace

TFormBananaEdit::TFormBananaEdit()
    : ObjectListEditor(BananaPlacement, FormMain->ViewBananaWindow, "Bananas Edit",
                       {"banana list", "Banana", EditScope::BananaList, std::nullopt, 0, tamo::BananaRecordSize})
{
    ListBoxBanana = addListBox("ListBoxBanana", 200, [this] { ListBoxBananaClick(); });
    addLabel(QStringLiteral("Adress"), 208, 8);
    EditBananaGroup = addEdit("EditBananaGroup", {248, 8, 193, 20});
    addLabel(QStringLiteral("X:"), 208, 32);
    EditBananaX = addEdit("EditBananaX", {248, 32, 193, 20});
    addLabel(QStringLiteral("Y:"), 208, 56);
    EditBananaY = addEdit("EditBananaY", {248, 56, 193, 20});
    addUpdateButton({208, 88, 200, 25});
    addLabel(QStringLiteral("Base address"), 232, 136);
    // Editable, as the form has it, but its text is never read back.
    addAddressBox({224, 160, 185, 20}, false);

    placeWindow();
}

int64_t TFormBananaEdit::listOffset() const
{
    return tamo::BananaListOffset(romImage(), FormMain->OffsetTable, FormMain->LevelNumber);
}

QString TFormBananaEdit::lineText(int index, const tamo::BananaRecord &record) const
{
    return QString::fromStdString(tamo::BananaLineText(index, record));
}

tamo::RomPatch TFormBananaEdit::recordPatch(int64_t offset, int line) const
{
    const tamo::BananaRecord record{
        editValue(EditBananaGroup, DefaultGroup),
        editValue(EditBananaY, 0),
        editValue(EditBananaX, 0)};
    return tamo::BananaRecordPatch(offset, line, record);
}

void TFormBananaEdit::ListBoxBananaClick()
{
    const int line = selectedLine();
    if (line < 0)
        return;
    const tamo::BananaRecord &record = m_records[line];
    EditBananaGroup->setText(QString::fromStdString(tamo::CodeText(record.Group, 2)));
    EditBananaX->setText(QString::number(record.X));
    EditBananaY->setText(QString::number(record.Y));
}
