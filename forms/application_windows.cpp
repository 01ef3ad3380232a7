#include "forms/application_windows.h"

#include "forms/UnitBananaEdit.h"
#include "forms/UnitCameraEdit.h"
#include "forms/UnitChip.h"
#include "forms/UnitHistory.h"
#include "forms/UnitLevelSelect.h"
#include "forms/UnitLevelSetting.h"
#include "forms/UnitMain.h"
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
    // Each window reaches the ones made before it through their global instances.
    FormMain = new TFormMain(programDir);
    FormChip = new TFormChip();
    FormLevelSelect = new TFormLevelSelect();
    FormLevelSetting = new TFormLevelSetting();
    FormSpriteEdit = new TFormSpriteEdit();
    FormCameraEdit = new TFormCameraEdit();
    FormBananaEdit = new TFormBananaEdit();
    FormHistory = new TFormHistory();
}

void DestroyWindows()
{
    destroy(FormHistory);
    destroy(FormBananaEdit);
    destroy(FormCameraEdit);
    destroy(FormSpriteEdit);
    destroy(FormLevelSetting);
    destroy(FormLevelSelect);
    destroy(FormChip);
    destroy(FormMain);
}
