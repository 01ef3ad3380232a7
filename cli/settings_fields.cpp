#include "cli/settings_fields.h"

namespace tamo::cli {

const QList<SettingsField> &settingsFields()
{
    using S = LevelSettings;
    using U = LevelSettingsUpdate;
    static const QList<SettingsField> fields{
        {"fg", &S::FG, &U::FG, Code16},
        {"bg", &S::BG, &U::BG, Code16},
        {"music", &S::Music, &U::Music, Code16},
        {"func", &S::Func, &U::Func, Code32},
        {"start_action", &S::StartAction, &U::StartAction, Code16},
        {"start_x", &S::StartX, &U::StartX, Number16},
        {"start_y", &S::StartY, &U::StartY, Number16},
        {"darkness_bits", &S::DarknessBits, &U::DarknessBits, Code8},
        {"bg_color", &S::BGColor, &U::BGColor, Number8},
        {"bg_darkness", &S::BGDarkness, &U::BGDarkness, Number8},
        {"tilemap_start", &S::TilemapStart, &U::TilemapStart, Number16},
        {"tilemap_end", &S::TilemapEnd, &U::TilemapEnd, Number16},
    };
    return fields;
}

const SettingsField *findSettingsField(const QString &key)
{
    for (const SettingsField &field : settingsFields()) {
        if (field.key == key)
            return &field;
    }
    return nullptr;
}

} // namespace tamo::cli
