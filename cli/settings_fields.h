#pragma once

#include "cli/value_format.h"
#include "core/level_settings.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace tamo::cli {

// The fields of the settings record under the keys the settings commands use.
struct SettingsField
{
    QString key;
    int32_t LevelSettings::*value;
    std::optional<int32_t> LevelSettingsUpdate::*update;
    ValueFormat format; // its width, and how the stage files write it
};

const QList<SettingsField> &settingsFields();
const SettingsField *findSettingsField(const QString &key);

} // namespace tamo::cli
