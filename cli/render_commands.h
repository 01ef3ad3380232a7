#pragma once

#include "cli/cli_context.h"

namespace tamo::cli {

// Draw a stage, or the chip palette of its foreground set, into an image file.
int runRender(const CliContext &context, const QStringList &args);
int runPalette(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
