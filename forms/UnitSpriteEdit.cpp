#include "forms/UnitSpriteEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"
#include "forms/error_report.h"
#include "forms/sprite_line.h"
#include "qtcommon/shift_jis_text.h"
#include "session/stage_session.h"

#include <QComboBox>

TFormSpriteEdit *FormSpriteEdit = nullptr;

namespace {

using Sprite = tamo::SpriteRecord;

const ObjectListKind sprites{
    .placement = {"SpriteWindow", 50, 50, 655, 265},
    .toggle = {"ViewSpriteWindow", "SpriteEdit(&E)", "Sprites(&E)", "Sprites", QKeyCombination(Qt::Key_F7),
               ImageListIcon::SpriteWindow, true, true},
    .caption = "Sprite Edit",
    .name = "sprite list",
    .stepName = "Sprite",
    .scope = EditScope::SpriteList,
    .markKind = tamo::ObjectKind::Sprite,
    .firstRecord = 0,
    .recordSize = tamo::SpriteRecordSize,
    .offset = tamo::SpriteListOffset,
};

enum Field { Param, Type };

// Text that does not read as a number stands for tileset 1 and the type 0x9055; both
// show as codes. The lines name the kind, so they come from lineText.
RecordList<Sprite> records()
{
    return {tamo::ReadSpriteList, tamo::SpriteRecordPatch, nullptr,
            {{"EditParam", {392, 72, 257, 20}, &Sprite::Param, 1, 4},
             {"EditType", {392, 96, 257, 20}, &Sprite::Type, 0x9055, 4},
             {"EditPosX", {392, 144, 257, 20}, &Sprite::X, 0, 0},
             {"EditPosY", {392, 168, 257, 20}, &Sprite::Y, 0, 0}}};
}

const ObjectListLayout spriteLayout{"ListBoxSprite",
                                      330,
                                      {{"Type address:", {336, 8}},
                                       {"Graphics:", {336, 56}},
                                       {"Tileset", {336, 72}},
                                       {"Address", {336, 96}},
                                       {"X:", {336, 144}},
                                       {"Y:", {336, 168}},
                                       {"Base address", {336, 240}}},
                                      {336, 200, 200, 25},
                                      {336, 256, 257, 20},
                                      true};

} // namespace

TFormSpriteEdit::TFormSpriteEdit(StageSession &session)
    : ObjectListEditor(session, sprites, records())
{
    addListBox(spriteLayout);
    addLabels(spriteLayout);
    ComboBoxSpriteList = new QComboBox(this);
    ComboBoxSpriteList->setObjectName(QStringLiteral("ComboBoxSpriteList"));
    ComboBoxSpriteList->setGeometry(336, 24, 313, 20);
    addEditingControl(ComboBoxSpriteList);
    connect(ComboBoxSpriteList, &QComboBox::activated, this,
            [this] { ReportErrors([this] { ComboBoxSpriteListSelect(); }); });
    addFields();
    addUpdateButton(spriteLayout);
    addAddressBox(spriteLayout);
    placeWindow();
    LoadSpriteTypes();
}

void TFormSpriteEdit::LoadSpriteTypes()
{
    m_spriteTypes = tamo::LoadSpriteTypes(session().SpriteIni);
    for (const tamo::SpriteTypeEntry &entry : m_spriteTypes)
        ComboBoxSpriteList->addItem(tamo::fromShiftJis(entry.lineText));
    // Qt selects the first line added; no kind is chosen until a sprite line is.
    ComboBoxSpriteList->setCurrentIndex(-1);
}

QString TFormSpriteEdit::lineText(int index, const Sprite &record) const
{
    return SpriteLine(session().SpriteIni, index, record);
}

void TFormSpriteEdit::showRecord(int line)
{
    ObjectListEditor::showRecord(line);
    const Sprite &record = m_records[size_t(line)];
    ComboBoxSpriteList->setCurrentIndex(tamo::FindSpriteType(m_spriteTypes, record.Param, record.Type));
}

void TFormSpriteEdit::ComboBoxSpriteListSelect()
{
    const int index = ComboBoxSpriteList->currentIndex();
    if (index < 0 || index >= int(m_spriteTypes.size()))
        return;
    const tamo::SpriteTypeEntry &entry = m_spriteTypes[size_t(index)];
    fieldEdit(Param)->setText(object_list_editor::fieldText(entry.param(), 4));
    fieldEdit(Type)->setText(object_list_editor::fieldText(entry.type(), 4));
}
