#include "OfficeReadBack.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace office {

Sheet parseCsv(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Sheet sheet;
    QList<Cell> row;
    Cell cell;
    bool inQuotes = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell.text += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                cell.text += c;
            }
            continue;
        }
        if (c == u'"') {
            inQuotes = true;
            cell.quoted = true;
            any = true;
        } else if (c == u';') {
            row << cell;
            cell = {};
            any = true;
        } else if (c == u'\r') {
            continue;
        } else if (c == u'\n') {
            row << cell;
            sheet << row;
            row = {};
            cell = {};
            any = false;
        } else {
            cell.text += c;
            any = true;
        }
    }
    if (any) {
        row << cell;
        sheet << row;
    }
    return sheet;
}

QHash<QString, Sheet> readBack(const QStringList& files, bool csvInput)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        qWarning("soffice not found: install libreoffice-calc");
        return {};
    }
    QTemporaryDir profile;
    QTemporaryDir out;
    QStringList arguments{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                          QStringLiteral("--headless")};
    // 1049: Russian, as the spreadsheets of the store read numbers and dates.
    if (csvInput)
        arguments << QStringLiteral("--infilter=CSV:59,34,76,1,,1049");
    // Text cells quoted (token 7), values as stored rather than as shown (token 9).
    arguments << QStringLiteral("--convert-to")
              << QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1,,0,true,true,false")
              << QStringLiteral("--outdir") << out.path() << files;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(soffice, arguments);
    if (!process.waitForFinished(300000)) {
        qWarning("LibreOffice did not finish");
        return {};
    }
    const QByteArray log = process.readAll();
    QHash<QString, Sheet> sheets;
    for (const QString& file : files) {
        QFile converted(QDir(out.path()).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".csv")));
        if (!converted.open(QIODevice::ReadOnly)) {
            qWarning("%s was not converted; LibreOffice said: %s", qPrintable(file), log.constData());
            continue;
        }
        sheets.insert(file, parseCsv(converted.readAll()));
    }
    return sheets;
}

} // namespace office
