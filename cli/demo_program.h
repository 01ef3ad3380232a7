#pragma once

#include "core/rom_image.h"

namespace tamo::cli {

// Makes the demo ROM boot: puts a LoROM header titled "TAMO DEMO", a small program of our own
// that shows that title in pale yellow on a blue screen, and the interrupt vectors into the
// image's first 32 KiB (LoROM bank $00), which the stage data leaves blank. Sets the header's
// checksum over the whole image, so it must be the last writer. Throws std::logic_error when
// that bank is not blank.
void writeDemoProgram(RomImage &rom);

} // namespace tamo::cli
