#pragma once

#include "cli/cli_context.h"

namespace tamo::cli {

int runMakePatch(const CliContext &context, const QStringList &args);
int runApplyPatch(const CliContext &context, const QStringList &args);
int runPatchInfo(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
