#pragma once

#include "core/object_lists.h"
#include "forms/object_list_window.h"

// The banana editor: the current stage's banana records, one line each, the selected one
// in three edit boxes, and Update to write it back in place. Stages whose lookup ends at
// the same offset share one list, so an update changes all of them.
class TFormBananaEdit : public ObjectListEditor<tamo::BananaRecord>
{
public:
    explicit TFormBananaEdit(StageSession &session);
};

extern TFormBananaEdit *FormBananaEdit;
