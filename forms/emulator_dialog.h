#pragma once

#include "core/emulator_command.h"
#include "core/emulator_presets.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;

// The dialog of Settings, Emulator...: the command line an emulator is started with on a
// copy of the image, the presets for the emulators found on this system, and the boot
// patch applied to the copy only.
class EmulatorDialog : public QDialog
{
    Q_OBJECT

public:
    EmulatorDialog(const tamo::EmulatorSettings &settings, std::vector<tamo::EmulatorPreset> presets, QWidget *parent);

    tamo::EmulatorSettings settings() const;

private:
    void usePreset(int index);
    void chooseBootPatch();

    std::vector<tamo::EmulatorPreset> m_presets;
    QComboBox *ComboBoxPresets = nullptr;
    QLineEdit *EditCommand = nullptr;
    QLineEdit *EditBootPatch = nullptr;
};

// Shows the dialog on the settings in ini, with the presets of this system; on OK puts the
// settings chosen into ini and returns true.
bool ChooseEmulator(tamo::IniFile &ini, QWidget *parent);
