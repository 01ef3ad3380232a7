#include "cli/stage_import.h"

#include "cli/json_lines.h"
#include "cli/record_kinds.h"
#include "cli/settings_fields.h"
#include "cli/stage_text.h"
#include "cli/text_error.h"
#include "core/integer_syntax.h"
#include "core/level_settings.h"
#include "core/rom_difference.h"
#include "core/rom_error.h"
#include "core/stage.h"
#include "core/stage_records.h"
#include "core/tile_map_spans.h"
#include "core/write_conflicts.h"
#include "files/file_names.h"

#include <set>

namespace tamo::cli {

namespace {

QString stageName(int32_t level)
{
    return QStringLiteral("stage %1").arg(level);
}

// Reads a folder line by line into the writes it gives, each tagged with its line, and
// the values that differ from the ROM.
class FolderImport
{
public:
    FolderImport(const StageSource &source, const std::filesystem::path &dir)
        : m_source(source)
        , m_dir(dir)
    {
    }

    StageImport run();

private:
    std::filesystem::path fileOf(const QString &name) const { return m_dir / filePath(name); }
    void readStage(const StageRecords &current);
    void readHead(JsonLines &lines, int32_t level);
    void readSettings(JsonLines &lines, const StageRecords &current);
    template<typename Record>
    void readList(JsonLines &lines, const RecordKind<Record> &kind, const StageRecords &current);
    template<typename Record>
    Record readRecord(JsonLines &lines, const RecordKind<Record> &kind, const StageRecords &current, size_t slot);
    void readTileMap(const TileMapSpan &span);
    void readTileRow(JsonLines &lines, const TileMapSpan &span, int32_t row);
    void refuseOtherFiles(const ImageStages &image, const TileMapSpans &spans) const;
    void refuseConflicts() const;
    size_t addPlace(const QString &place);
    void add(const RomPatch &patch, const QString &place);
    void compare(const QString &owner, const QString &what, uint32_t old, uint32_t value, ValueFormat format);
    RomImage imageWithWrites() const;

    const StageSource &m_source;
    std::filesystem::path m_dir;
    std::vector<QString> m_places;
    std::vector<PlacedWrite> m_writes;
    std::vector<ImportChange> m_changes;
};

StageImport FolderImport::run()
{
    const ImageStages image = ReadStageRecords(m_source.rom, m_source.offsets);
    for (const StageRecords &stage : image.stages)
        readStage(stage);
    // The settings of the files decide which columns of which tile maps the stages show.
    const RomImage withSettings = imageWithWrites();
    const TileMapSpans spans = FindTileMapSpans({withSettings, m_source.offsets, m_source.offsetsIni});
    refuseOtherFiles(image, spans);
    for (const TileMapSpan &span : spans.maps)
        readTileMap(span);
    refuseConflicts();

    StageImport result{imageWithWrites(), std::move(m_changes), 0};
    for (const ByteRun &run : DifferingRuns(m_source.rom.bytes(), result.image.bytes()))
        result.changedBytes += run.end - run.begin;
    return result;
}

void FolderImport::readStage(const StageRecords &current)
{
    JsonLines lines(fileOf(stageFileName(current.level)));
    readHead(lines, current.level);
    readSettings(lines, current);
    readList(lines, spriteKind(), current);
    readList(lines, cameraKind(), current);
    readList(lines, bananaKind(), current);
    if (!lines.atEnd())
        lines.fail(QStringLiteral("the end of the file after the banana records"));
}

void FolderImport::readHead(JsonLines &lines, int32_t level)
{
    // The name and the tile map are there for the reader; the data files and the settings
    // give them.
    lines.requireKeys({"stage"}, {"name", "tile_map"});
    if (!lines.equals("stage", level))
        lines.fail(QStringLiteral("{\"stage\": %1, ...}, the head of stage %1").arg(level));
    lines.next();
}

void FolderImport::readSettings(JsonLines &lines, const StageRecords &current)
{
    for (const SettingsField &field : settingsFields()) {
        lines.requireKeys({field.key});
        const uint32_t value = lines.value(field.key, field.format, field.key);
        compare(stageName(current.level), field.key, uint32_t(current.settings.*field.value), value, field.format);
        LevelSettingsUpdate update;
        update.*field.update = int32_t(value);
        add(LevelSettingsPatch(m_source.rom, m_source.offsets, current.level, update), lines.place());
        lines.next();
    }
}

template<typename Record>
void FolderImport::readList(JsonLines &lines, const RecordKind<Record> &kind, const StageRecords &current)
{
    const StageList<Record> &list = current.*kind.list;
    const int32_t level = current.level;
    if (list.owner != level) {
        if (!lines.equals(kind.sharedKey, list.owner))
            lines.fail(QStringLiteral("{\"%1\": %2}: stage %3's %4 list is stage %2's in the ROM")
                           .arg(kind.sharedKey)
                           .arg(list.owner)
                           .arg(level)
                           .arg(kind.key));
        lines.requireKeys({kind.sharedKey});
        lines.next();
        return;
    }
    if (lines.has(kind.sharedKey))
        lines.fail(QStringLiteral("%1 records: stage %2's %1 list is its own in the ROM").arg(kind.key).arg(level));
    const size_t count = list.records.size();
    for (size_t slot = 0; slot < count; ++slot) {
        if (!lines.has(kind.key))
            lines.fail(QStringLiteral("%1 %2: stage %3's %1 list holds %4 records in the ROM")
                           .arg(kind.key)
                           .arg(slot)
                           .arg(level)
                           .arg(count));
        const Record record = readRecord(lines, kind, current, slot);
        add(kind.patch(list.offset, int(slot), record), lines.place());
        lines.next();
    }
    if (lines.has(kind.key))
        lines.fail(QStringLiteral("no more %1 records: stage %2's %1 list holds %3 in the ROM").arg(kind.key).arg(level).arg(count));
}

template<typename Record>
Record FolderImport::readRecord(JsonLines &lines, const RecordKind<Record> &kind, const StageRecords &current,
                                size_t slot)
{
    QStringList keys{kind.key};
    for (const RecordField<Record> &field : kind.fields)
        keys.append(field.key);
    lines.requireKeys(keys);
    const QString name = QStringLiteral("%1 %2").arg(kind.key).arg(slot);
    if (!lines.equals(kind.key, int64_t(slot)))
        lines.fail(name);
    const Record &old = (current.*kind.list).records[slot];
    Record record;
    for (const RecordField<Record> &field : kind.fields) {
        const QString what = name + ' ' + field.key;
        const uint32_t value = lines.value(field.key, field.format, what);
        if (field.endsList == value)
            lines.fail(QStringLiteral("%1 other than %2, which would end stage %3's %4 list there")
                           .arg(what, valueText(value, field.format))
                           .arg(current.level)
                           .arg(kind.key));
        record.*field.member = int32_t(value);
        compare(stageName(current.level), what, uint32_t(old.*field.member), value, field.format);
    }
    return record;
}

void FolderImport::readTileMap(const TileMapSpan &span)
{
    JsonLines lines(fileOf(tileMapFileName(span.tilemap)));
    lines.requireKeys({"tile_map", "columns", "rows"});
    if (!lines.equals("tile_map", span.tilemap) || !lines.equals("columns", span.columns)
        || !lines.equals("rows", span.rows))
        lines.fail(QStringLiteral("{\"tile_map\": %1, \"columns\": %2, \"rows\": %3}: its stages show columns 0 to %4")
                       .arg(span.tilemap)
                       .arg(span.columns)
                       .arg(span.rows)
                       .arg(span.columns - 1));
    lines.next();
    for (int32_t row = 0; row < span.rows; ++row) {
        readTileRow(lines, span, row);
        lines.next();
    }
    if (!lines.atEnd())
        lines.fail(QStringLiteral("the end of the file after row %1").arg(span.rows - 1));
}

void FolderImport::readTileRow(JsonLines &lines, const TileMapSpan &span, int32_t row)
{
    const QString expected = QStringLiteral("{\"row\": %1, \"words\": \"...\"} with %2 tile words of four hexadecimal digits")
                                 .arg(row)
                                 .arg(span.columns);
    lines.requireKeys({"row", "words"});
    if (!lines.equals("row", row))
        lines.fail(expected);
    const QList<QByteArray> words = lines.text("words", "words").toLatin1().simplified().split(' ');
    if (words.size() != span.columns)
        lines.fail(QStringLiteral("%1 (the line has %2)").arg(expected).arg(words.size()));
    const size_t place = addPlace(lines.place());
    const QString owner = QStringLiteral("tile map %1").arg(span.tilemap);
    for (int32_t column = 0; column < span.columns; ++column) {
        const std::string_view digits(words[column].constData(), size_t(words[column].size()));
        const std::optional<uint64_t> word = digits.size() <= 4 ? parseDigitRun(digits, 16, 0xFFFF) : std::nullopt;
        if (!word)
            lines.fail(QStringLiteral("%1; column %2 is not").arg(expected).arg(column));
        const int64_t offset = TileMapWordOffset(span, column, row);
        compare(owner, QStringLiteral("row %1 column %2").arg(row).arg(column),
                m_source.rom.readWord(offset, "tile map cell"), uint32_t(*word), Code16);
        m_writes.push_back({RomWrite{offset, {uint8_t(*word), uint8_t(*word >> 8)}, "tile map cell"}, place});
    }
}

void FolderImport::refuseOtherFiles(const ImageStages &image, const TileMapSpans &spans) const
{
    std::set<QString> expected;
    for (const StageRecords &stage : image.stages)
        expected.insert(stageFileName(stage.level));
    for (const TileMapSpan &span : spans.maps)
        expected.insert(tileMapFileName(span.tilemap));
    for (const std::filesystem::directory_entry &entry : std::filesystem::directory_iterator(m_dir)) {
        const QString name = fileNameText(entry.path().filename());
        if (isStageFolderFileName(name) && !expected.contains(name))
            throw textError(
                QStringLiteral("%1: no stage or tile map of the ROM to import it into (stages whose tables lie "
                               "outside the image have none; the tile maps are those that stages of screen mode 0 "
                               "show with the settings of the stage files); remove it")
                    .arg(fileNameText(entry.path())));
    }
}

void FolderImport::refuseConflicts() const
{
    const std::optional<WriteConflict> conflict = FindWriteConflict(m_writes);
    if (!conflict)
        return;
    throw textError(QStringLiteral("%1 and %2 give the byte at 0x%3 two different values")
                        .arg(m_places[conflict->firstPlace], m_places[conflict->secondPlace],
                             QString::fromStdString(hexText(uint64_t(conflict->offset), 6))));
}

size_t FolderImport::addPlace(const QString &place)
{
    m_places.push_back(place);
    return m_places.size() - 1;
}

void FolderImport::add(const RomPatch &patch, const QString &place)
{
    const size_t index = addPlace(place);
    for (const RomWrite &write : patch.writes())
        m_writes.push_back({write, index});
}

void FolderImport::compare(const QString &owner, const QString &what, uint32_t old, uint32_t value, ValueFormat format)
{
    if (old != value)
        m_changes.push_back({owner, what, valueText(old, format), valueText(value, format)});
}

RomImage FolderImport::imageWithWrites() const
{
    for (const PlacedWrite &placed : m_writes) {
        try {
            m_source.rom.requireRange(placed.write.offset, int64_t(placed.write.bytes.size()), placed.write.what);
        } catch (const RomRangeError &error) {
            throw textError(m_places[placed.place] + ": " + textFromBytes(error.what()));
        }
    }
    RomImage image = m_source.rom;
    PatchOf(m_writes).applyTo(image);
    return image;
}

} // namespace

StageImport importStages(const StageSource &source, const std::filesystem::path &dir)
{
    return FolderImport(source, dir).run();
}

} // namespace tamo::cli
