#pragma once

#include "core/rom_patch.h"

#include <QString>

#include <cstdint>

// What an edit changes, so that each view knows whether it has to follow.
enum class EditScope {
    TileMap,       // cells of a tile map
    SpriteList,    // records of a sprite list
    CameraList,    // records of a camera list
    BananaList,    // records of a banana list
    StageSettings, // the stage's settings, which decide how the stage is decoded
    WholeImage,    // anything anywhere
    StartPoint,    // the stage's start point, which only its mark shows
};

// One edit of the ROM image as the history keeps it.
struct RomEdit
{
    QString text;      // what the step is called: "Paint 12 cells", "Sprite #3"
    EditScope scope = EditScope::WholeImage;
    int32_t level = 0; // the stage shown when the edit was made
    tamo::RomPatch patch;
    // Consecutive edits with the same non-zero key make one step (a paint stroke); the
    // step then takes the text of the latest.
    uint64_t mergeKey = 0;
    // How many edits the step stands for: edits of an earlier session brought back as one
    // step still count as the edits they were made as.
    int edits = 1;
};

// A change the document has just made to its image, as the views receive it.
struct RomChange
{
    EditScope scope;
    int32_t level;
    // The writes made; none for a step that traded the image whole (anything may differ).
    const tamo::RomPatch &patch;
    // Made by undo or redo rather than by the edit itself.
    bool fromHistory;
};
