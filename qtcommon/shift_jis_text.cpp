#include "qtcommon/shift_jis_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tamo {

QString fromShiftJis(std::string_view bytes)
{
    QStringDecoder decoder("Shift_JIS");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toShiftJis(const QString &text)
{
    QStringEncoder encoder("Shift_JIS");
    const QByteArray encoded = encoder.encode(text);
    return std::string(encoded.constData(), static_cast<size_t>(encoded.size()));
}

} // namespace tamo
