#include "cli/demo_set.h"

#include "cli/demo_catalogue.h"
#include "cli/demo_levels.h"
#include "cli/demo_pictures.h"
#include "cli/demo_program.h"
#include "cli/demo_themes.h"
#include "cli/json_output.h"
#include "cli/stage_state.h"
#include "core/file_system.h"
#include "core/ini_file.h"
#include "core/integer_syntax.h"
#include "core/name_lists.h"
#include "core/offset_table.h"
#include "core/rom_error.h"
#include "files/program_folder.h"
#include "qtcommon/shift_jis_text.h"

#include <QFile>
#include <QString>

#include <system_error>

namespace tamo::cli {

namespace {

std::string offsetText(int32_t value)
{
    return "0x" + hexText(static_cast<uint32_t>(value), 6);
}

void writeOffsetSection(IniFile &ini)
{
    const OffsetTable defaults;
    const std::pair<const char *, int32_t> entries[] = {
        {"LevelFunc", defaults.LevelFunc},   {"TileMap", defaults.TileMap},
        {"Banana", defaults.Banana},         {"FG", defaults.FG},
        {"BG", defaults.BG},                 {"Music", defaults.Music},
        {"Darkness", defaults.Darkness},     {"Camera", defaults.Camera},
        {"StartPoint", defaults.StartPoint}, {"Sprite", defaults.Sprite},
        {"StartAction", defaults.StartAction}, {"BaseCamera", defaults.BaseCamera},
        {"BaseSprite", defaults.BaseSprite}, {"Banana2", defaults.Banana2},
    };
    for (const auto &[key, value] : entries)
        ini.writeString("Offset", key, offsetText(value));
}

void writeForegroundSections(IniFile &ini)
{
    for (const DemoForeground &foreground : demoForegrounds())
        ini.writeInteger("FG Tilemap", hexText(foreground.fgWord, 2), foreground.tilemap);
    for (int32_t tilemap = 1; tilemap <= DemoTilemapCount; ++tilemap)
        ini.writeInteger("Screen mode", std::to_string(tilemap), demoTheme(tilemap).screenMode);
}

void writeLevelNames(IniFile &ini)
{
    for (int32_t level = 0; level < LevelCount; ++level) {
        const QString name = demoLevelName(level, demoStageForeground(level).tilemap);
        ini.writeString("Level name", LevelKey(level), toShiftJis(name));
    }
}

void writeNameList(IniFile &ini, const NameListSections &sections, const QList<DemoNamedValue> &values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        const uint32_t value = static_cast<uint32_t>(values[i].value);
        ini.writeString(sections.valueSection, std::to_string(i), "0x" + hexText(value, 4));
        ini.writeString(sections.nameSection, hexText(value, 4), toShiftJis(values[i].name));
    }
}

QList<DemoNamedValue> foregroundNames()
{
    QList<DemoNamedValue> names;
    for (const DemoForeground &foreground : demoForegrounds()) {
        const DemoTheme &theme = demoTheme(foreground.tilemap);
        names.append({foreground.fgWord, QStringLiteral("%1 (set %2)")
                                             .arg(QLatin1String(theme.englishName))
                                             .arg(foreground.tilemap)});
    }
    return names;
}

IniFile demoOffsetsIni()
{
    IniFile ini;
    writeOffsetSection(ini);
    writeForegroundSections(ini);
    writeLevelNames(ini);
    writeNameList(ini, FGNameList, foregroundNames());
    writeNameList(ini, BGNameList, demoBackgrounds());
    writeNameList(ini, MusicNameList, demoMusic());
    writeNameList(ini, FunctionNameList, demoFunctions());
    writeNameList(ini, StartActionNameList, demoStartActions());
    return ini;
}

IniFile demoSpriteIni()
{
    IniFile ini;
    for (const DemoSpriteKind &kind : demoSpriteKinds())
        ini.writeString("0x" + hexText(kind.param, 4), "0x" + hexText(kind.type, 4), toShiftJis(kind.name));
    return ini;
}

void savePicture(const QImage &picture, const std::filesystem::path &path)
{
    const QString fileName = QFile::decodeName(path.string().c_str());
    if (!picture.save(fileName, "BMP"))
        throw RomError(path.string() + ": the bitmap could not be written");
}

void createFolder(const std::filesystem::path &path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error)
        throw RomError(path.string() + ": " + error.message());
}

} // namespace

void writeDemoSet(const std::filesystem::path &dir)
{
    createFolder(dir / "Data");
    createFolder(dir / "Config");
    const ProgramFolder folder(dir);
    demoOffsetsIni().save(folder.offsetsIni());
    demoSpriteIni().save(folder.spriteIni());
    for (int32_t tilemap = 1; tilemap <= DemoTilemapCount; ++tilemap)
        savePicture(demoChipPicture(tilemap), folder.chipBitmap(tilemap));
    savePicture(demoMarkPicture(), folder.markBitmap());
    RomImage rom = buildDemoRom();
    writeDemoProgram(rom);
    fs::writeWholeFile(dir / "demo.smc", rom.bytes());
}

int runMakeDemo(const CliContext &, const QStringList &args)
{
    const std::filesystem::path dir = pathFromArgument(args[0]);
    writeDemoSet(dir);
    printJson(QJsonDocument(QJsonObject{{"rom", QFile::decodeName((dir / "demo.smc").string().c_str())},
                                        {"stages", LevelCount}}));
    return 0;
}

} // namespace tamo::cli
