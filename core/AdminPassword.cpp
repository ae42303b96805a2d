#include "AdminPassword.h"

#include <QCryptographicHash>

namespace {

// The delivered settings file holds this password's digest; the program
// only checks for it, to remind the administrator to change it.
const QString kDeliveredPassword = QStringLiteral("admin");

// Blanks and control characters go from both ends, nothing from inside.
bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

QString adminPasswordDigest(const QString& password)
{
    qsizetype from = 0;
    qsizetype to = password.size();
    while (from < to && isBlankOrControl(password[from]))
        ++from;
    while (to > from && isBlankOrControl(password[to - 1]))
        --to;
    const QByteArray bytes = password.mid(from, to - from).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
}

bool isDeliveredPasswordDigest(const QString& digest)
{
    return digest == adminPasswordDigest(kDeliveredPassword);
}
