#pragma once

#include "cli/cli_context.h"

namespace tamo::cli {

int runStages(const CliContext &context, const QStringList &args);
int runInfo(const CliContext &context, const QStringList &args);
int runSprites(const CliContext &context, const QStringList &args);
int runCameras(const CliContext &context, const QStringList &args);
int runBananas(const CliContext &context, const QStringList &args);
int runSettings(const CliContext &context, const QStringList &args);
int runTiles(const CliContext &context, const QStringList &args);
int runFindChip(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
