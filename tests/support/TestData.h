#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder of its own for one test: a copy of the delivered Data
// folder in a temporary directory, removed with the object.
class TestData
{
public:
    TestData();

    // The program folder, with a trailing separator.
    QString folder() const;
    QString data(const QString& relative = {}) const;
    QString dbPath() const { return data(QStringLiteral("DB.mdb")); }
    QString iniPath() const { return data(QStringLiteral("Config.ini")); }

    // Replaces the settings file's text.
    void writeIni(const QString& text) const;
    QString readIni() const;

    // The delivered Data folder the build made.
    static QString deliveredData();

private:
    QTemporaryDir m_dir;
};
