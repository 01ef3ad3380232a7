#include "files/file_key.h"

#include <QCryptographicHash>
#include <QFileInfo>

QString FileKey(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

QString FileKeyName(const QString &fileName)
{
    const QString key = FileKey(fileName);
    const QByteArray keyHash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QFileInfo(key).fileName() + QLatin1Char('.') + QString::fromLatin1(keyHash);
}
