#pragma once

#include "core/object_lists.h"
#include "forms/object_list_window.h"

#include <vector>

class QLineEdit;
class QListWidget;

// The banana editor: the current stage's banana records, one line each, the selected one
// in three edit boxes, and Update to write it back in place. Stages whose lookup ends at
// the same offset share one list, so an update changes all of them.
class TFormBananaEdit : public ObjectListEditor<tamo::BananaRecord, tamo::ReadBananaList>
{
    Q_OBJECT

public:
    TFormBananaEdit();

    void ListBoxBananaClick();

private:
    int64_t listOffset() const override;
    QString lineText(int index, const tamo::BananaRecord &record) const override;
    tamo::RomPatch recordPatch(int64_t offset, int line) const override;

    QListWidget *ListBoxBanana = nullptr;
    QLineEdit *EditBananaGroup = nullptr;
    QLineEdit *EditBananaX = nullptr;
    QLineEdit *EditBananaY = nullptr;
};

extern TFormBananaEdit *FormBananaEdit;
