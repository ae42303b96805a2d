#include "ActFolder.h"
#include "writeoff/ActDocument.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// The written documents opened by a real word processor: LibreOffice
// converts them to plain text, which must show every tool and the total.
class TestActLibreOffice : public QObject
{
    Q_OBJECT

private slots:
    void officeReadsEveryToolAndTotal();
};

void TestActLibreOffice::officeReadsEveryToolAndTotal()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QFAIL("soffice not found: run scripts/install-deps.sh (libreoffice-writer)");

    ActFolder folder;
    const QList<ActTool> tools{
        {QStringLiteral("Дрель ударная Макита"), 10.5, QStringLiteral("ИНВ-0001")},
        {QStringLiteral("Шуруповёрт «Зубр»"), 20.5, QStringLiteral("ИНВ-0002")},
        {QStringLiteral("Угловая шлифмашина"), 1234.25, QStringLiteral("ИНВ-0003")},
        {QStringLiteral("Набор ключей"), std::nullopt, QStringLiteral("ИНВ-0004")},
    };
    const ActDocumentResult russian = ActDocument(folder.folder(), 0).create(11, tools, QDate(2026, 12, 10));
    QVERIFY2(russian.ok(), qPrintable(russian.message(false)));
    const ActDocumentResult english = ActDocument(folder.folder(), 1).create(12, tools, QDate(2026, 12, 10));
    QVERIFY2(english.ok(), qPrintable(english.message(false)));

    QTemporaryDir profile;
    QTemporaryDir out;
    QVERIFY(profile.isValid() && out.isValid());
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice,
                 {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                  QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                  QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), out.path(), russian.file,
                  english.file});
    QVERIFY2(office.waitForFinished(300000), "LibreOffice did not finish");
    const QString log = QString::fromLocal8Bit(office.readAll());
    QVERIFY2(office.exitStatus() == QProcess::NormalExit && office.exitCode() == 0, qPrintable(log));

    auto lines = [&out, &log](const QString& name) {
        QFile file(QDir(out.path()).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            qWarning("%s missing; LibreOffice said: %s", qPrintable(name), qPrintable(log));
        QString text = QString::fromUtf8(file.readAll());
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        QStringList all = text.split(QRegularExpression(QStringLiteral("\r?\n")));
        for (QString& line : all)
            line = line.trimmed();
        return all;
    };
    const QStringList ru = lines(QStringLiteral("\u2116_11_.txt"));
    const QStringList en = lines(QStringLiteral("\u2116_12_.txt"));
    for (const ActTool& tool : tools) {
        QVERIFY2(ru.contains(tool.name) && en.contains(tool.name), qPrintable(tool.name));
        QVERIFY2(ru.contains(tool.inventory) && en.contains(tool.inventory), qPrintable(tool.inventory));
    }
    for (const QString& price : {QStringLiteral("10,5"), QStringLiteral("20,5"), QStringLiteral("1234,25")})
        QVERIFY2(ru.contains(price), qPrintable(price));
    for (const QString& price : {QStringLiteral("10.5"), QStringLiteral("20.5"), QStringLiteral("1234.25")})
        QVERIFY2(en.contains(price), qPrintable(price));
    for (const QString& number : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")})
        QVERIFY(ru.contains(number));
    // 10 + 20 + 1234: each price rounded, halves to even.
    QVERIFY2(ru.contains(QStringLiteral("Итого на сумму: 1264")), qPrintable(ru.join(u'\n')));
    QVERIFY2(en.contains(QStringLiteral("Total amount: 1264")), qPrintable(en.join(u'\n')));
    QVERIFY(!ru.join(u'\n').contains(QStringLiteral("#SUMM#")));
    QVERIFY2(ru.contains(QStringLiteral("№ 11 от 10.12.2026")), qPrintable(ru.join(u'\n')));
    QVERIFY2(en.contains(QStringLiteral("№ 12 dated 12/10/2026")), qPrintable(en.join(u'\n')));
    QVERIFY(ru.contains(QStringLiteral("АКТ СПИСАНИЯ ИНСТРУМЕНТА")));
}

QTEST_GUILESS_MAIN(TestActLibreOffice)
#include "tst_act_libreoffice.moc"
