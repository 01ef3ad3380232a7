#pragma once

#include "core/object_lists.h"
#include "core/sprite_types.h"
#include "forms/object_list_window.h"

#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace tamo {
class IniFile;
}

// A sprite's line as the editor lists it: index, codes and kind name.
QString SpriteLine(const tamo::IniFile &spriteIni, int index, const tamo::SpriteRecord &record);

// The sprite editor: the current stage's sprite records, one line each, the selected one
// in edit boxes, the sprite kinds of Data\sprite.ini to choose from, and Update to write
// the record back in place.
class TFormSpriteEdit : public ObjectListEditor<tamo::SpriteRecord, tamo::ReadSpriteList>
{
    Q_OBJECT

public:
    TFormSpriteEdit();

    void ListBoxSpriteClick();
    void ComboBoxSpriteListSelect();

private:
    int64_t listOffset() const override;
    QString lineText(int index, const tamo::SpriteRecord &record) const override;
    tamo::RomPatch recordPatch(int64_t offset, int line) const override;

    void LoadSpriteTypes();

    tamo::SpriteTypeList m_spriteTypes;

    QListWidget *ListBoxSprite = nullptr;
    QComboBox *ComboBoxSpriteList = nullptr;
    QLineEdit *EditParam = nullptr;
    QLineEdit *EditType = nullptr;
    QLineEdit *EditPosX = nullptr;
    QLineEdit *EditPosY = nullptr;
};

extern TFormSpriteEdit *FormSpriteEdit;
