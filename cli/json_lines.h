#pragma once

#include "cli/value_format.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tamo::cli {

// A text file of one JSON object per line, read a line at a time. Blank lines do not
// count. Every error is a std::runtime_error naming the file, the line, what was expected
// there and what was found.
class JsonLines
{
public:
    // Reads and parses every line; a line that is no JSON object is an error.
    explicit JsonLines(const std::filesystem::path &path);

    bool atEnd() const { return m_next >= m_lines.size(); }
    // Whether the current line holds the key (never at the end).
    bool has(const QString &key) const;
    // Whether the key's value is that number.
    bool equals(const QString &key, int64_t number) const;
    void next() { ++m_next; }
    // "DIR/stage-022.jsonl line 5", which names the current line, or the end of the file.
    QString place() const;

    [[noreturn]] void fail(const QString &expected) const;
    // The current line must hold each of the keys and none but these and the optional ones.
    void requireKeys(const QStringList &keys, const QStringList &optional = {}) const;
    // The value of the key, within the format's range; what names it in the error.
    uint32_t value(const QString &key, ValueFormat format, const QString &what) const;
    // The text of the key.
    QString text(const QString &key, const QString &what) const;

private:
    struct Line
    {
        int number;
        QString shown; // its text, cut short, for the errors
        QJsonObject object;
    };
    const QJsonObject &object() const;

    QString m_file;
    std::vector<Line> m_lines;
    size_t m_next = 0;
};

} // namespace tamo::cli
