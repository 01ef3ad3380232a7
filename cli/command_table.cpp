#include "cli/command_table.h"

#include "cli/demo_set.h"
#include "cli/edit_commands.h"
#include "cli/folder_commands.h"
#include "cli/patch_commands.h"
#include "cli/read_commands.h"
#include "cli/settings_fields.h"
#ifdef TAMO_HAVE_RENDER_COMMANDS
#include "cli/render_commands.h"
#endif

namespace tamo::cli {

namespace {

const QString numberNote = QStringLiteral(
    "Numbers are decimal with an optional sign, or hexadecimal after \"$\" or \"0x\".");
const QString stageNote = "ROM is the ROM file, STAGE the stage number (0-229). " + numberNote;

QString settingsKeys()
{
    QStringList keys;
    for (const SettingsField &field : settingsFields())
        keys.append(field.key);
    return keys.join(QStringLiteral(", "));
}

QList<CommandEntry> buildTable()
{
    return {
        {"stages", "", "List the 230 stages with their names",
         "Prints a JSON array of {stage, key, name} for stages 0 to 229, the names taken "
         "from section \"Level name\" of Data/offsets.ini.",
         0, 0, false, runStages},
        {"info", "ROM STAGE", "Show the decoded header of a stage",
         "Prints the stage's decoded fields (tile map, camera block, sprite and banana list "
         "offsets, start point, tile map range, screen mode, map size) and its chip "
         "bitmap as a JSON object. " + stageNote,
         2, 2, false, runInfo},
        {"sprites", "ROM STAGE", "List the sprite records of a stage",
         "Prints {offset, records: [{index, param, x, y, type, name}]}; the names come "
         "from Data/sprite.ini. " + stageNote,
         2, 2, false, runSprites},
        {"cameras", "ROM STAGE", "List the camera records of a stage",
         "Prints {offset, records: [{index, x, y}]}; offset is the camera block's start, "
         "eight bytes before the first record. " + stageNote,
         2, 2, false, runCameras},
        {"bananas", "ROM STAGE", "List the banana records of a stage",
         "Prints {offset, records: [{index, group, x, y}]}. " + stageNote,
         2, 2, false, runBananas},
        {"settings", "ROM STAGE", "Show the settings record of a stage",
         "Prints {" + settingsKeys() + "}. " + stageNote,
         2, 2, false, runSettings},
        {"tiles", "ROM STAGE", "Show the tile words of a stage",
         "Prints {width, height, rows}: height rows of width tile words as the stage "
         "image shows them; rows is empty in screen modes other than 0. " + stageNote,
         2, 2, false, runTiles},
        {"set-tile", "ROM STAGE COL ROW WORD", "Write one tile word",
         "Stores WORD (cut to 16 bits) in cell COL, ROW of the stage image (screen mode 0 "
         "only) and saves the ROM. " + stageNote,
         5, 5, true, runSetTile},
        {"set-sprite", "ROM STAGE INDEX PARAM X Y TYPE", "Write one sprite record",
         "Stores the four fields (each cut to 16 bits) in the existing sprite record INDEX "
         "and saves the ROM. A PARAM of 0 ends the list at that record. " + stageNote,
         7, 7, true, runSetSprite},
        {"set-camera", "ROM STAGE INDEX X Y", "Write one camera record",
         "Stores X and Y (each cut to 16 bits) in the existing camera record INDEX and "
         "saves the ROM. An X or Y of 0xFFFF ends the list at that record. " + stageNote,
         5, 5, true, runSetCamera},
        {"set-banana", "ROM STAGE INDEX GROUP X Y", "Write one banana record",
         "Stores GROUP and Y (cut to 8 bits) and X (cut to 16 bits) in the existing banana "
         "record INDEX and saves the ROM. Stages that share the list all see the change. "
             + stageNote,
         6, 6, true, runSetBanana},
        {"set-settings", "ROM STAGE KEY=VALUE...", "Change fields of the settings record",
         "Stores each VALUE (cut to its field's width) in the settings field KEY, one of "
         + settingsKeys() + ", and saves the ROM; fields not named keep their bytes. "
         + stageNote,
         3, -1, true, runSetSettings},
        {"find-chip", "ROM CHIP", "Find the cells of every stage that use a chip",
         "Prints {chip, stages: [{stage, cells: [[col, row], ...]}]} for every stage in screen "
         "mode 0 whose map holds CHIP (0 to 0x3FFF) as the chip of a tile word (bits 0-13), "
         "whatever its flips. Cells are columns and rows of the stage image, row by row: row 0 "
         "from the left, then row 1. Stages that share a tile map each list the cells they "
         "show. " + numberNote,
         2, 2, false, runFindChip},
        {"replace-chip", "ROM FROM TO", "Replace a chip in every cell that holds it",
         "Puts TO into every cell whose chip (bits 0-13) is FROM (0 to 0x3FFF): in every tile "
         "map of the ROM (the columns the stages in screen mode 0 show, each cell once where "
         "stages overlap), or with --stage in the tile map of stage S (the columns S and every "
         "stage sharing its tile map show). TO is a whole tile word, its bits 14 and 15 the "
         "flips: 0x40B0 puts chip 0B0 mirrored left-right, 0x00B0 chip 0B0 unmirrored. With "
         "--keep-flips TO is a chip number and each cell keeps its flips. Cells that already "
         "hold what they would get are left alone. Prints {cells, description, changed_bytes, "
         "written}, cells being the cells changed, and saves the ROM. " + numberNote,
         3, 3, true, runReplaceChip,
         {{"stage", "Only the tile map of stage S (0-229) and the stages sharing it.", "S"},
          {"keep-flips", "Keep the flips of each cell; TO is then a chip number."}}},
        {"export", "ROM DIR", "Write the stages as text files for version control",
         "Writes DIR/stage-NNN.jsonl for every stage and DIR/tilemap-NNN.jsonl for every tile "
         "map of screen mode 0, one JSON object per line: a stage's head (its name from "
         "Data/offsets.ini), one line per settings field, then its sprite, camera and banana "
         "records by slot, or one line naming the lower-numbered stage whose list it shares; "
         "a tile map's head, then one line per row of hexadecimal tile words, from column 0 "
         "to the last column a stage shows. Files that hold the text already are left alone; "
         "other stage and tile map files in DIR are removed. ROM is the ROM file.",
         2, 2, false, runExport},
        {"import", "ROM DIR", "Write the stage text files of DIR into the ROM",
         "Reads the files that export wrote and saves into the ROM the values that differ "
         "from it, all or nothing; prints a line of what it wrote. With --dry-run it prints "
         "each value that differs (stage, what, old and new value) and writes nothing. A "
         "line that does not read, a value outside its field, a list or a tile map of "
         "another length than the ROM's, a record that would end its list early, and two "
         "lines that give one byte two values are refused with the file and the line, and "
         "the ROM is left as it was. ROM is the ROM file.",
         2, 2, true, runImport},
        {"make-patch", "BASE MODIFIED OUT", "Make a BPS or IPS patch of a modified ROM",
         "Writes to OUT the patch that turns the ROM file BASE into MODIFIED: a BPS patch when "
         "OUT ends in .bps, an IPS patch when it ends in .ips (in any letter case); IPS cannot "
         "describe an image larger than 16 MiB. Prints what patch-info prints with BASE, and "
         "patch_size.",
         3, 3, false, runMakePatch},
        {"apply-patch", "ROM PATCH OUT", "Apply a BPS or IPS patch to a ROM",
         "Writes the image that PATCH makes from ROM to OUT, which may be ROM itself; the file "
         "is saved as the editor saves. A BPS patch is refused unless ROM has the size and "
         "CRC-32 it was made for, and its result must have the CRC-32 it names; nothing is "
         "written when a check fails. Prints what patch-info prints with ROM, and written.",
         3, 3, false, runApplyPatch},
        {"patch-info", "PATCH [ROM]", "Check a patch and show what it changes",
         "Reads and checks the BPS or IPS patch PATCH whole and prints {format, source_size, "
         "target_size}, for BPS also source_crc32, target_crc32 and patch_crc32; a size that "
         "an IPS patch does not carry is null. With ROM, the base it applies to, the patch is "
         "applied in memory, every check first, and changed_bytes and stages follow: the "
         "stages whose tile map, sprite, camera or banana list or settings it changes.",
         1, 2, false, runPatchInfo},
        {"make-demo", "DIR", "Write the demo data set",
         "Writes DIR/Data (offsets.ini, sprite.ini, chipN.bmp, mark.bmp), an empty "
         "DIR/Config and the 4 MiB DIR/demo.smc, made up for trying the programs; "
         "an SNES emulator boots it to a screen of its own.",
         1, 1, false, runMakeDemo},
#ifdef TAMO_HAVE_RENDER_COMMANDS
        {"render", "ROM STAGE IMAGE", "Draw a stage into an image file",
         "Draws the stage as the editor shows it and writes it to IMAGE. " + stageNote,
         3, 3, false, runRender,
         {{"no-sprites", "Leave out the sprite marks."},
          {"no-cameras", "Leave out the camera marks."},
          {"no-start", "Leave out the start mark."}},
         true},
        {"palette", "ROM STAGE IMAGE", "Draw the chip palette of a stage into an image file",
         "Draws the chip palette of the stage's foreground set and writes it to IMAGE. "
             + stageNote,
         3, 3, false, runPalette,
         {{"chip", "The pen's chip, shown inverted (default 0).", "N"},
          {"hflip", "The pen mirrored left-right."},
          {"vflip", "The pen mirrored top-bottom."}},
         true},
#endif
    };
}

} // namespace

const QList<CommandEntry> &commandTable()
{
    static const QList<CommandEntry> table = buildTable();
    return table;
}

const CommandEntry *findCommand(const QString &name)
{
    for (const CommandEntry &entry : commandTable()) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

} // namespace tamo::cli
