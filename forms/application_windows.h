#pragma once

#include <filesystem>

// Creates the windows in their fixed order: FormMain, FormChip, FormLevelSelect,
// FormLevelSetting, FormSpriteEdit, FormCameraEdit, FormBananaEdit, then the history
// window FormHistory, the chip uses FormChipUses and the overview FormOverview. Every
// window after the main window works on its stage session. An error while they are made
// leaves the ones made so far in place for DestroyWindows.
void CreateWindows(const std::filesystem::path &programDir);

// Destroys them in the reverse order and clears the global instances.
void DestroyWindows();
