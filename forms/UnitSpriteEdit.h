#pragma once

#include "core/object_lists.h"
#include "core/sprite_types.h"
#include "forms/object_list_window.h"

class QComboBox;

// The sprite editor: the current stage's sprite records, one line each, the selected one
// in edit boxes, the sprite kinds of Data\sprite.ini to choose from, and Update to write
// the record back in place.
class TFormSpriteEdit : public ObjectListEditor<tamo::SpriteRecord>
{
    Q_OBJECT

public:
    explicit TFormSpriteEdit(StageSession &session);

    void ComboBoxSpriteListSelect();

private:
    QString lineText(int index, const tamo::SpriteRecord &record) const override;
    // ListBoxSpriteClick: the boxes, and the kind of the record in the drop-down list.
    void showRecord(int line) override;

    void LoadSpriteTypes();

    tamo::SpriteTypeList m_spriteTypes;
    QComboBox *ComboBoxSpriteList = nullptr;
};

extern TFormSpriteEdit *FormSpriteEdit;
