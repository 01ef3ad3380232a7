#include "cli/value_format.h"

#include "core/integer_syntax.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace tamo::cli {

QString valueText(uint32_t value, ValueFormat format)
{
    if (!format.hex)
        return QString::number(value);
    return "0x" + QString::fromStdString(hexText(value, format.bits / 4));
}

QByteArray valueJson(uint32_t value, ValueFormat format)
{
    return format.hex ? '"' + valueText(value, format).toLatin1() + '"' : QByteArray::number(value);
}

std::optional<uint32_t> readValue(const QJsonValue &value, ValueFormat format)
{
    const uint64_t largest = format.largest();
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number >= 0 && number <= double(largest) && std::floor(number) == number)
            return static_cast<uint32_t>(number);
        return std::nullopt;
    }
    if (!value.isString())
        return std::nullopt;
    const std::string text = value.toString().toStdString();
    std::optional<uint64_t> number;
    if (text.starts_with("0x") || text.starts_with("0X"))
        number = parseDigitRun(std::string_view(text).substr(2), 16, largest);
    else if (text.starts_with('$'))
        number = parseDigitRun(std::string_view(text).substr(1), 16, largest);
    else
        number = parseDigitRun(text, 10, largest);
    if (!number)
        return std::nullopt;
    return static_cast<uint32_t>(*number);
}

QByteArray jsonText(const QJsonValue &value)
{
    // A document holds an array or an object: the value is the array's one element.
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace tamo::cli
