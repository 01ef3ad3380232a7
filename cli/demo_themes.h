#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

namespace tamo::cli {

// The foreground sets of the demo set: one tile map and one chip bitmap each.
struct DemoTheme
{
    const char *englishName;
    const char *japaneseName; // UTF-8
    int32_t screenMode;
    QColor sky, skyLow, ground, groundDark, grass, brick, wood, leaf, water, accent;
};

constexpr int DemoTilemapCount = 8; // tilemap numbers 1 to 8

// Theme of tilemap number 1 to DemoTilemapCount.
const DemoTheme &demoTheme(int32_t tilemap);

// The chips every demo chip bitmap holds, by chip number.
enum DemoChip : uint16_t {
    ChipSky,
    ChipSkyLow,
    ChipCloudLeft,
    ChipCloudRight,
    ChipGrass,
    ChipGrassEdge, // left end of a grass top; the right end is the same chip flipped
    ChipGround,
    ChipGroundStones,
    ChipGroundSide, // left wall of the ground; flipped for the right wall
    ChipBrick,
    ChipBrickWindow,
    ChipPlatformEnd, // left end; flipped for the right end
    ChipPlatform,
    ChipLadder,
    ChipBush,
    ChipFlower,
    ChipTrunk,
    ChipLeaves,
    ChipWaterTop,
    ChipWater,
    ChipRock,
    ChipHillSlope, // rising to the right; flipped for the falling side
    ChipHorizon, // the plain low sky below the gradient
    ChipSign,
    ChipSpikes,
    ChipBridge,
    ChipVine,
    ChipSun,
    ChipStar,
    ChipCrate,
    ChipLampPost,
    ChipMailbox,
    DemoChipCount
};

constexpr uint16_t TileHFlip = 0x4000;
constexpr uint16_t TileVFlip = 0x8000;

} // namespace tamo::cli
