#pragma once

#include "cli/cli_context.h"

namespace tamo::cli {

int runSetTile(const CliContext &context, const QStringList &args);
int runSetSprite(const CliContext &context, const QStringList &args);
int runSetCamera(const CliContext &context, const QStringList &args);
int runSetBanana(const CliContext &context, const QStringList &args);
int runSetSettings(const CliContext &context, const QStringList &args);
int runReplaceChip(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
