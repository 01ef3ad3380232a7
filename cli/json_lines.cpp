#include "cli/json_lines.h"

#include "cli/text_error.h"
#include "core/file_system.h"
#include "files/file_names.h"

#include <QByteArrayList>
#include <QJsonDocument>
#include <QJsonParseError>

namespace tamo::cli {

namespace {

// What a line holds, as an error shows it.
QString shownText(const QByteArray &line)
{
    constexpr qsizetype Shown = 100;
    const QString text = QString::fromUtf8(line);
    return text.size() <= Shown ? text : text.left(Shown) + "...";
}

QString keyList(const QStringList &keys)
{
    QStringList quoted;
    for (const QString &key : keys)
        quoted.append('"' + key + '"');
    return quoted.join(QStringLiteral(", "));
}

} // namespace

JsonLines::JsonLines(const std::filesystem::path &path)
    : m_file(fileNameText(path))
{
    const std::vector<uint8_t> bytes = fs::readWholeFile(path);
    const QByteArrayList lines = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (!document.isObject()) {
            const QString why = error.error != QJsonParseError::NoError
                                    ? QStringLiteral("%1 at column %2").arg(error.errorString()).arg(error.offset + 1)
                                    : QStringLiteral("another JSON value");
            throw textError(QStringLiteral("%1 line %2: expected one JSON object {...} on the line; found %3")
                                .arg(m_file)
                                .arg(i + 1)
                                .arg(why));
        }
        m_lines.push_back({int(i + 1), shownText(line), document.object()});
    }
}

const QJsonObject &JsonLines::object() const
{
    static const QJsonObject none;
    return atEnd() ? none : m_lines[m_next].object;
}

bool JsonLines::has(const QString &key) const
{
    return object().contains(key);
}

bool JsonLines::equals(const QString &key, int64_t number) const
{
    const QJsonValue value = object().value(key);
    return value.isDouble() && value.toDouble() == double(number);
}

QString JsonLines::place() const
{
    if (atEnd())
        return m_file + " at its end";
    return QStringLiteral("%1 line %2").arg(m_file).arg(m_lines[m_next].number);
}

void JsonLines::fail(const QString &expected) const
{
    const QString found = atEnd() ? QStringLiteral("the end of the file") : m_lines[m_next].shown;
    throw textError(QStringLiteral("%1: expected %2; found %3").arg(place(), expected, found));
}

void JsonLines::requireKeys(const QStringList &keys, const QStringList &optional) const
{
    bool fits = !atEnd();
    for (const QString &key : keys)
        fits = fits && object().contains(key);
    for (const QString &key : object().keys())
        fits = fits && (keys.contains(key) || optional.contains(key));
    if (!fits)
        fail(QStringLiteral("a line with the keys %1").arg(keyList(keys)));
}

uint32_t JsonLines::value(const QString &key, ValueFormat format, const QString &what) const
{
    const std::optional<uint32_t> value = readValue(object().value(key), format);
    if (!value)
        fail(QStringLiteral("%1 from 0 to %2").arg(what, valueText(format.largest(), format)));
    return *value;
}

QString JsonLines::text(const QString &key, const QString &what) const
{
    const QJsonValue value = object().value(key);
    if (!value.isString())
        fail(QStringLiteral("%1 as a text in quotes").arg(what));
    return value.toString();
}

} // namespace tamo::cli
