#include "TestData.h"

#include <QDir>
#include <QFile>

// A folder that could not be laid out leaves nothing to test: a check here
// would only mark the test failed and let it run on a half-made folder.
TestData::TestData()
{
    if (!m_dir.isValid())
        qFatal("no temporary folder for the test's Data: %s", qPrintable(m_dir.errorString()));
    if (!QDir().mkpath(data()))
        qFatal("cannot make %s", qPrintable(data()));
    const QDir source(deliveredData());
    const QStringList delivered = source.entryList(QDir::Files);
    if (delivered.isEmpty())
        qFatal("the delivered Data folder %s holds no files", qPrintable(source.path()));
    for (const QString& name : delivered) {
        if (!QFile::copy(source.filePath(name), data(name)))
            qFatal("cannot copy %s into %s", qPrintable(source.filePath(name)), qPrintable(data()));
    }
    for (const QString& name : QDir(data()).entryList(QDir::Files))
        QFile(data(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

QString TestData::folder() const
{
    return m_dir.path() + u'/';
}

QString TestData::data(const QString& relative) const
{
    return folder() + QStringLiteral("Data/") + relative;
}

void TestData::writeIni(const QString& text) const
{
    QFile f(iniPath());
    const QByteArray bytes = text.toUtf8();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush())
        qFatal("cannot write the test's settings file %s: %s", qPrintable(iniPath()), qPrintable(f.errorString()));
}

QString TestData::readIni() const
{
    QFile f(iniPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QString TestData::deliveredData()
{
    return QStringLiteral(TOOLDESK_DELIVERED_DATA);
}
