#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

// The programs that read our files back as a user's would: LibreOffice for
// RTF, poppler for PDF.
namespace consumers {

inline QString run(const QString& program, const QStringList& args, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted())
        return QStringLiteral("cannot start %1").arg(program);
    p.waitForFinished(timeoutMs);
    return QString::fromLocal8Bit(p.readAll());
}

inline QString readUtf8(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

inline QString pdfText(const QString& pdf)
{
    const QString out = pdf + QStringLiteral(".txt");
    run(QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, out});
    return readUtf8(out);
}

inline int pdfPages(const QString& pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split(u'\n')) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// "Page size: 595.276 x 841.89 pts (A4)"
inline QString pdfPageSize(const QString& pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split(u'\n')) {
        if (line.startsWith(QLatin1String("Page size:")))
            return line.mid(10).trimmed();
    }
    return {};
}

// The first page's size against "W x H" in points, to the nearest point.
inline bool samePageSize(const QString& pdf, const QString& expected)
{
    const QStringList got = pdfPageSize(pdf).split(u' ');
    const QStringList want = expected.split(u' ');
    return got.size() >= 3 && want.size() >= 3 && qAbs(got.at(0).toDouble() - want.at(0).toDouble()) < 1
        && qAbs(got.at(2).toDouble() - want.at(2).toDouble()) < 1;
}

// Converts documents with LibreOffice in one run, on a profile of its own so
// parallel tests do not meet; filter e.g. "txt:Text (encoded):UTF8" or "pdf".
inline void convert(const QStringList& files, const QString& filter, const QString& outDir)
{
    QTemporaryDir profile;
    QStringList args{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                     QStringLiteral("--headless"),
                     QStringLiteral("--norestore"),
                     QStringLiteral("--convert-to"),
                     filter,
                     QStringLiteral("--outdir"),
                     outDir};
    args << files;
    run(QStringLiteral("soffice"), args, 240000);
}

// Where the first text of expected that is missing (in order) is, or empty.
inline QString missingInOrder(const QString& text, const QStringList& expected)
{
    qsizetype at = 0;
    for (const QString& e : expected) {
        const qsizetype found = text.indexOf(e, at);
        if (found < 0) {
            const bool anywhere = text.contains(e);
            return QStringLiteral("\"%1\" %2")
                .arg(e, anywhere ? QStringLiteral("out of order") : QStringLiteral("missing"));
        }
        at = found + e.size();
    }
    return {};
}

} // namespace consumers
