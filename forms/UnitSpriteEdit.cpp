#include "forms/UnitSpriteEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"
#include "forms/UnitMain.h"
#include "forms/error_report.h"
#include "forms/common/shift_jis_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

TFormSpriteEdit *FormSpriteEdit = nullptr;

namespace {

constexpr ToolWindowPlacement SpritePlacement{"SpriteWindow", 50, 50, 655, 265};

// Text that does not read as a number stands for these.
constexpr int32_t DefaultParam = 1;
constexpr int32_t DefaultType = 0x9055;

QString codeText(int32_t value)
{
    return QString::fromStdString(tamo::CodeText(value, 4));
}

} // namespace

TFormSpriteEdit::TFormSpriteEdit()
    : ObjectListEditor(SpritePlacement, FormMain->ViewSpriteWindow, "Sprite Edit",
                       {"sprite list", "Sprite", EditScope::SpriteList, tamo::ObjectKind::Sprite, 0, tamo::SpriteRecordSize})
{
    ListBoxSprite = addListBox("ListBoxSprite", 330, [this] { ListBoxSpriteClick(); });
    addLabel(QStringLiteral("Type address:"), 336, 8);
    ComboBoxSpriteList = new QComboBox(this);
    ComboBoxSpriteList->setObjectName(QStringLiteral("ComboBoxSpriteList"));
    ComboBoxSpriteList->setGeometry(336, 24, 313, 20);
    addEditingControl(ComboBoxSpriteList);
    connect(ComboBoxSpriteList, &QComboBox::activated, this,
            [this] { ReportErrors([this] { ComboBoxSpriteListSelect(); }); });
    addLabel(QStringLiteral("Graphics:"), 336, 56);
    addLabel(QStringLiteral("Tileset"), 336, 72);
    EditParam = addEdit("EditParam", {392, 72, 257, 20});
    addLabel(QStringLiteral("Address"), 336, 96);
    EditType = addEdit("EditType", {392, 96, 257, 20});
    addLabel(QStringLiteral("X:"), 336, 144);
    addLabel(QStringLiteral("Y:"), 336, 168);
    EditPosX = addEdit("EditPosX", {392, 144, 257, 20});
    EditPosY = addEdit("EditPosY", {392, 168, 257, 20});
    addUpdateButton({336, 200, 200, 25});
    addLabel(QStringLiteral("Base address"), 336, 240);
    addAddressBox({336, 256, 257, 20}, true);

    placeWindow();
    LoadSpriteTypes();
}

void TFormSpriteEdit::LoadSpriteTypes()
{
    m_spriteTypes = tamo::LoadSpriteTypes(FormMain->SpriteIni);
    for (const tamo::SpriteTypeEntry &entry : m_spriteTypes)
        ComboBoxSpriteList->addItem(tamo::fromShiftJis(entry.lineText));
    // Qt selects the first line added; no kind is chosen until a sprite line is.
    ComboBoxSpriteList->setCurrentIndex(-1);
}

int64_t TFormSpriteEdit::listOffset() const
{
    return tamo::SpriteListOffset(romImage(), FormMain->OffsetTable, FormMain->LevelNumber);
}

QString SpriteLine(const tamo::IniFile &spriteIni, int index, const tamo::SpriteRecord &record)
{
    const std::string name = tamo::SpriteTypeName(spriteIni, record.Param, record.Type);
    return tamo::fromShiftJis(tamo::SpriteLineText(index, record, name));
}

QString TFormSpriteEdit::lineText(int index, const tamo::SpriteRecord &record) const
{
    return SpriteLine(FormMain->SpriteIni, index, record);
}

tamo::RomPatch TFormSpriteEdit::recordPatch(int64_t offset, int line) const
{
    const tamo::SpriteRecord record{editValue(EditParam, DefaultParam), editValue(EditPosX, 0),
                                    editValue(EditPosY, 0), editValue(EditType, DefaultType)};
    return tamo::SpriteRecordPatch(offset, line, record);
}

void TFormSpriteEdit::ListBoxSpriteClick()
{
    const int line = selectedLine();
    if (line < 0)
        return;
    const tamo::SpriteRecord &record = m_records[line];
    EditParam->setText(codeText(record.Param));
    EditType->setText(codeText(record.Type));
    EditPosX->setText(QString::number(record.X));
    EditPosY->setText(QString::number(record.Y));
    ComboBoxSpriteList->setCurrentIndex(tamo::FindSpriteType(m_spriteTypes, record.Param, record.Type));
}

void TFormSpriteEdit::ComboBoxSpriteListSelect()
{
    const int index = ComboBoxSpriteList->currentIndex();
    if (index < 0 || index >= int(m_spriteTypes.size()))
        return;
    EditParam->setText(codeText(m_spriteTypes[index].param()));
    EditType->setText(codeText(m_spriteTypes[index].type()));
}
