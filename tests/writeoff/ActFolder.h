#pragma once

#include "DocxFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <pugixml.hpp>

// A program folder of one test: Data/Templates with the delivered act
// templates (or a test's own), and the WriteOff folder the writer makes.
class ActFolder
{
public:
    // A folder that could not be laid out leaves nothing to test.
    ActFolder()
    {
        if (!m_dir.isValid())
            qFatal("no temporary folder for the act: %s", qPrintable(m_dir.errorString()));
        if (!QDir().mkpath(templates()))
            qFatal("cannot make %s", qPrintable(templates()));
        for (const char* name : {"AKT_RU.docx", "AKT_EN.docx"}) {
            const QString from = QStringLiteral(TOOLDESK_DELIVERED_DATA "/Templates/") + QLatin1String(name);
            if (!QFile::copy(from, templates() + QLatin1String(name)))
                qFatal("cannot copy %s into %s", qPrintable(from), qPrintable(templates()));
        }
    }

    QString folder() const { return m_dir.path() + u'/'; }
    QString templates() const { return folder() + QStringLiteral("Data/Templates/"); }
    QString russianTemplate() const { return templates() + QStringLiteral("AKT_RU.docx"); }
    QString writeOff() const { return folder() + QStringLiteral("WriteOff"); }
    QString document(int act) const { return writeOff() + QStringLiteral("/\u2116_%1_.docx").arg(act); }

    // Files in WriteOff (none when the folder is absent), hidden ones too.
    QStringList writeOffFiles() const
    {
        return QDir(writeOff()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // The main part of a written document, parsed.
    static bool readMain(const QString& path, pugi::xml_document& doc)
    {
        const QMap<QString, QByteArray> parts = docx::readZip(path);
        if (!parts.contains(QStringLiteral("word/document.xml")))
            return false;
        return docx::parse(parts.value(QStringLiteral("word/document.xml")), doc);
    }

private:
    QTemporaryDir m_dir;
};
