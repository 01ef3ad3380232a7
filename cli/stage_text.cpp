#include "cli/stage_text.h"

#include "cli/record_kinds.h"
#include "cli/settings_fields.h"
#include "cli/value_format.h"
#include "core/integer_syntax.h"
#include "core/rom_image.h"

#include <QByteArrayList>
#include <QRegularExpression>

#include <cstdlib>

namespace tamo::cli {

namespace {

// One line of a stage file, its keys in the order they are added.
class JsonLine
{
public:
    // Keys are plain ASCII words, which JSON writes as they are.
    JsonLine &add(const QString &key, const QByteArray &json)
    {
        m_members.append('"' + key.toLatin1() + "\": " + json);
        return *this;
    }
    JsonLine &add(const QString &key, uint32_t value, ValueFormat format) { return add(key, valueJson(value, format)); }
    QByteArray text() const { return "{" + m_members.join(", ") + "}\n"; }

private:
    QByteArrayList m_members;
};

QString numberedName(const char *prefix, int32_t number)
{
    // Three digits keep the files in order of their numbers.
    const QString digits = QStringLiteral("%1").arg(std::abs(int64_t(number)), 3, 10, QLatin1Char('0'));
    return QLatin1String(prefix) + (number < 0 ? "-" : "") + digits + ".jsonl";
}

template<typename Record>
void addList(QByteArray &text, const StageRecords &stage, const RecordKind<Record> &kind)
{
    const StageList<Record> &list = stage.*kind.list;
    if (list.owner != stage.level) {
        text += JsonLine().add(kind.sharedKey, QByteArray::number(list.owner)).text();
        return;
    }
    for (size_t slot = 0; slot < list.records.size(); ++slot) {
        JsonLine line;
        line.add(kind.key, QByteArray::number(qulonglong(slot)));
        for (const RecordField<Record> &field : kind.fields)
            line.add(field.key, uint32_t(list.records[slot].*field.member), field.format);
        text += line.text();
    }
}

// The words of a tile row: four hexadecimal digits each, one blank between them.
QByteArray tileRowText(const std::vector<uint16_t> &words)
{
    QByteArray text;
    text.reserve(qsizetype(words.size()) * 5);
    for (uint16_t word : words) {
        if (!text.isEmpty())
            text += ' ';
        text += hexText(word, 4).c_str();
    }
    return text;
}

} // namespace

QString stageFileName(int32_t level)
{
    return numberedName("stage-", level);
}

QString tileMapFileName(int32_t tilemap)
{
    return numberedName("tilemap-", tilemap);
}

bool isStageFolderFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^(stage|tilemap)-.*\\.jsonl$"));
    return pattern.match(name).hasMatch();
}

QByteArray stageFileText(const StageRecords &stage, const QString &name, std::optional<int32_t> tilemap)
{
    JsonLine head;
    head.add("stage", QByteArray::number(stage.level)).add("name", jsonText(name));
    if (tilemap)
        head.add("tile_map", QByteArray::number(*tilemap));
    QByteArray text = head.text();
    for (const SettingsField &field : settingsFields())
        text += JsonLine().add(field.key, uint32_t(stage.settings.*field.value), field.format).text();
    addList(text, stage, spriteKind());
    addList(text, stage, cameraKind());
    addList(text, stage, bananaKind());
    return text;
}

QByteArray tileMapFileText(const TileMapSpan &span, const RomImage &rom)
{
    QByteArray text = JsonLine()
                          .add("tile_map", QByteArray::number(span.tilemap))
                          .add("columns", QByteArray::number(span.columns))
                          .add("rows", QByteArray::number(span.rows))
                          .text();
    std::vector<uint16_t> words(size_t(span.columns));
    for (int32_t row = 0; row < span.rows; ++row) {
        for (int32_t column = 0; column < span.columns; ++column)
            words[size_t(column)] = rom.readWord(TileMapWordOffset(span, column, row), "tile map cell");
        text += JsonLine().add("row", QByteArray::number(row)).add("words", '"' + tileRowText(words) + '"').text();
    }
    return text;
}

} // namespace tamo::cli
