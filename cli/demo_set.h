#pragma once

#include "cli/cli_context.h"

#include <filesystem>

namespace tamo::cli {

// Writes the demo set into dir: Data/ (offsets.ini, sprite.ini, the chip bitmaps,
// mark.bmp), an empty Config/ and demo.smc. The same bytes on every run.
void writeDemoSet(const std::filesystem::path &dir);

int runMakeDemo(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
