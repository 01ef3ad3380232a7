#include "cli/settings_fields.h"

namespace tamo::cli {

const QList<SettingsField> &settingsFields()
{
    using S = LevelSettings;
    using U = LevelSettingsUpdate;
    static const QList<SettingsField> fields{
        {"fg", &S::FG, &U::FG, false},
        {"bg", &S::BG, &U::BG, false},
        {"music", &S::Music, &U::Music, false},
        {"func", &S::Func, &U::Func, true},
        {"start_action", &S::StartAction, &U::StartAction, false},
        {"start_x", &S::StartX, &U::StartX, false},
        {"start_y", &S::StartY, &U::StartY, false},
        {"darkness_bits", &S::DarknessBits, &U::DarknessBits, false},
        {"bg_color", &S::BGColor, &U::BGColor, false},
        {"bg_darkness", &S::BGDarkness, &U::BGDarkness, false},
        {"tilemap_start", &S::TilemapStart, &U::TilemapStart, false},
        {"tilemap_end", &S::TilemapEnd, &U::TilemapEnd, false},
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
