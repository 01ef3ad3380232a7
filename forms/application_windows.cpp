#include "forms/application_windows.h"

#include "forms/UnitBananaEdit.h"
#include "forms/UnitCameraEdit.h"
#include "forms/UnitChip.h"
#include "forms/UnitChipUses.h"
#include "forms/UnitHistory.h"
#include "forms/UnitLevelSelect.h"
#include "forms/UnitLevelSetting.h"
#include "forms/UnitMain.h"
#include "forms/UnitOverview.h"
#include "forms/UnitSpriteEdit.h"

namespace {

template<typename Window>
void destroy(Window *&window)
{
    delete window;
    window = nullptr;
}

} // namespace

void CreateWindows(const std::filesystem::path &programDir)
{
    FormMain = new TFormMain(programDir);
    StageSession &session = FormMain->Session;
    FormChip = new TFormChip(session, FormMain->MapEditHFlip, FormMain->MapEditVFlip);
    FormLevelSelect = new TFormLevelSelect(session);
    FormLevelSetting = new TFormLevelSetting(session);
    FormSpriteEdit = new TFormSpriteEdit(session);
    FormCameraEdit = new TFormCameraEdit(session);
    FormBananaEdit = new TFormBananaEdit(session);
    FormHistory = new TFormHistory(session);
    FormChipUses = new TFormChipUses(session, FormMain->mapView());
    FormOverview = new TFormOverview(session, FormMain->mapView());
    for (ToolWindow *window : std::initializer_list<ToolWindow *>{FormChip, FormSpriteEdit, FormCameraEdit,
                                                                   FormBananaEdit, FormHistory, FormChipUses,
                                                                   FormOverview})
        FormMain->addToolWindow(*window);
}

void DestroyWindows()
{
    destroy(FormOverview);
    destroy(FormChipUses);
    destroy(FormHistory);
    destroy(FormBananaEdit);
    destroy(FormCameraEdit);
    destroy(FormSpriteEdit);
    destroy(FormLevelSetting);
    destroy(FormLevelSelect);
    destroy(FormChip);
    destroy(FormMain);
}
