#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <optional>

namespace tamo::cli {

// How a number of the ROM is written in the stage files: its width in bits, and whether it
// is a code, written in hexadecimal ("0x" and a digit per four bits, as a JSON string), or
// a quantity, written in decimal (as a JSON number).
struct ValueFormat
{
    int bits = 16;
    bool hex = false;

    uint32_t largest() const { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }
};

constexpr ValueFormat Code8{8, true};
constexpr ValueFormat Code16{16, true};
constexpr ValueFormat Code32{32, true};
constexpr ValueFormat Number8{8, false};
constexpr ValueFormat Number16{16, false};

// "0x0001" or "160", as the dry run shows a value.
QString valueText(uint32_t value, ValueFormat format);
// The value as it stands in a JSON line: "\"0x0001\"" or "160".
QByteArray valueJson(uint32_t value, ValueFormat format);
// A value of a stage file: a JSON number, or a text in decimal or in hexadecimal after
// "0x" or "$"; none when it is neither or lies outside 0..largest.
std::optional<uint32_t> readValue(const QJsonValue &value, ValueFormat format);

// Compact JSON text of one value (a text with its quotes and escapes).
QByteArray jsonText(const QJsonValue &value);

} // namespace tamo::cli
