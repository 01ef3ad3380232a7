#include "forms/UnitBananaEdit.h"

#include "core/list_lines.h"
#include "core/stage.h"

TFormBananaEdit *FormBananaEdit = nullptr;

namespace {

using Banana = tamo::BananaRecord;

// Bananas have no marks on the map.
const ObjectListKind bananas{
    .placement = {"BananaWindow", 100, 100, 450, 265},
    .toggle = {"ViewBananaWindow", "BananaEdit(&B)", "Bananas(&B)", "Bananas", QKeyCombination(Qt::Key_F9),
               ImageListIcon::BananaWindow, true, true},
    .caption = "Bananas Edit",
    .name = "banana list",
    .stepName = "Banana",
    .scope = EditScope::BananaList,
    .markKind = std::nullopt,
    .firstRecord = 0,
    .recordSize = tamo::BananaRecordSize,
    .offset = tamo::BananaListOffset,
};

// Text that does not read as a number stands for group 2; the group shows as a code.
RecordList<Banana> records()
{
    return {tamo::ReadBananaList, tamo::BananaRecordPatch, tamo::BananaLineText,
            {{"EditBananaGroup", {248, 8, 193, 20}, &Banana::Group, 2, 2},
             {"EditBananaX", {248, 32, 193, 20}, &Banana::X, 0, 0},
             {"EditBananaY", {248, 56, 193, 20}, &Banana::Y, 0, 0}}};
}

} // namespace

TFormBananaEdit::TFormBananaEdit(StageSession &session)
    : ObjectListEditor(session, bananas, records())
{
    // "Adress" is the caption of the group box, as the form has it.
    build({"ListBoxBanana", 200,
           {{"Adress", {208, 8}}, {"X:", {208, 32}}, {"Y:", {208, 56}}, {"Base address", {232, 136}}},
           {208, 88, 200, 25}, {224, 160, 185, 20}, false});
}
