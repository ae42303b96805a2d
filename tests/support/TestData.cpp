#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QtTest>

TestData::TestData()
{
    QVERIFY2(m_dir.isValid(), "temporary folder");
    QDir().mkpath(data());
    const QDir source(deliveredData());
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), data(name));
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
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
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
