#pragma once

#include "cli/cli_context.h"

namespace tamo::cli {

int runExport(const CliContext &context, const QStringList &args);
int runImport(const CliContext &context, const QStringList &args);

} // namespace tamo::cli
