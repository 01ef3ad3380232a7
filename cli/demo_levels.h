#pragma once

#include "cli/demo_catalogue.h"
#include "core/rom_image.h"

#include <cstdint>

namespace tamo::cli {

constexpr int64_t DemoRomSize = 4 * 1024 * 1024;
constexpr int32_t DemoDefaultLevel = 22;

// The foreground set of a demo stage.
DemoForeground demoStageForeground(int32_t level);

// The demo ROM's stage data: 230 stages laid out at the default offset table, each with its
// tile map range, settings, sprite, camera and banana lists. Its first 32 KiB stay blank for
// the boot program (demo_program.h).
RomImage buildDemoRom();

} // namespace tamo::cli
