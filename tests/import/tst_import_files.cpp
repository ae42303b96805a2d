#include "core/Messages.h"
#include "import/CsvReader.h"
#include "import/ImportError.h"
#include "import/ImportFields.h"
#include "import/ImportFile.h"
#include "import/ImportValues.h"
#include "import/XlsxReader.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace {

Messages englishTexts()
{
    Messages texts;
    setMessages(texts, false);
    return texts;
}

// The headings, then each row, cells joined by '|'.
QStringList flattened(const ImportTable& table)
{
    QStringList rows{table.headings.join(u'|')};
    for (const QStringList& row : table.rows)
        rows << row.join(u'|');
    return rows;
}

} // namespace

// The readers of the files a store brings: CSV as spreadsheets save it here,
// XLSX, and files LibreOffice Calc wrote.
class TestImportFiles : public QObject
{
    Q_OBJECT

private slots:
    void csvAsSpreadsheetsSaveIt_data();
    void csvAsSpreadsheetsSaveIt();
    void csvRowsKeepTheirLines();
    void unreadableFilesAreRefusedWithTheCause_data();
    void unreadableFilesAreRefusedWithTheCause();
    void valuesAsWrittenHere_data();
    void valuesAsWrittenHere();
    void headingsMatchTheGridsAndStoredNames();
    void spreadsheetDates();
    void filesWrittenByLibreOffice();
};

void TestImportFiles::csvAsSpreadsheetsSaveIt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("semicolons, UTF-8") << QByteArray("Код;Имя\nT1;Дрель\n") << QStringList{"Код|Имя", "T1|Дрель"};
    QTest::newRow("commas") << QByteArray("Code,Name\r\nT1,Drill\r\n") << QStringList{"Code|Name", "T1|Drill"};
    QTest::newRow("tabs") << QByteArray("Code\tName\tNote\nT1\tDrill, big\t;\n")
                          << QStringList{"Code|Name|Note", "T1|Drill, big|;"};
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "Код;Имя\nT1;Ёж\n")
                                     << QStringList{"Код|Имя", "T1|Ёж"};
    // "Код;Имя / А1;Дрель №5 ёж" in CP1251, as Russian Windows saves it.
    QTest::newRow("CP1251") << QByteArray(
        "\xCA\xEE\xE4;\xC8\xEC\xFF\r\n\xC0\x31;\xC4\xF0\xE5\xEB\xFC \xB9\x35 \xB8\xE6\r\n")
                            << QStringList{"Код|Имя", "А1|Дрель №5 ёж"};
    QTest::newRow("quoted separators, quotes and line breaks")
        << QByteArray("Code;Name;Note\n\"T;1\";\"Drill \"\"Bosch\"\"\";\"two\r\nlines\"\nT2;Saw;\n")
        << QStringList{"Code|Name|Note", "T;1|Drill \"Bosch\"|two\r\nlines", "T2|Saw|"};
    QTest::newRow("separators inside the quoted heading do not count")
        << QByteArray("\"a,b,c\";Name\nT1;x,y\n") << QStringList{"a,b,c|Name", "T1|x,y"};
    QTest::newRow("blank rows left out, blanks around cells cut")
        << QByteArray("Code;Name\n\n ; \n T1 ; Drill \n;;\n") << QStringList{"Code|Name", "T1|Drill"};
    QTest::newRow("old Mac line ends") << QByteArray("Code;Name\rT1;Drill\rT2;Saw")
                                       << QStringList{"Code|Name", "T1|Drill", "T2|Saw"};
    QTest::newRow("a quote inside a bare cell is a character")
        << QByteArray("Code;Name\nT1;12\" pipe\n") << QStringList{"Code|Name", "T1|12\" pipe"};
    QTest::newRow("more cells than headings are kept for the check")
        << QByteArray("Code;Name\nT1;Drill;extra\n") << QStringList{"Code|Name", "T1|Drill|extra"};
}

void TestImportFiles::csvAsSpreadsheetsSaveIt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(flattened(readCsv(bytes, englishTexts())), expected);
}

void TestImportFiles::csvRowsKeepTheirLines()
{
    // A quoted line break moves the next row's line on, so a message points at the right line.
    const ImportTable t = readCsv("Code;Note\nT1;\"a\nb\nc\"\n\nT2;x\n", englishTexts());
    QCOMPARE(t.lines, (QList<int>{2, 6}));
}

void TestImportFiles::unreadableFilesAreRefusedWithTheCause_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause");
    QTest::newRow("quote never closed") << QByteArray("Code;Name\nT1;ok\nT2;\"open\nT3;x\n")
                                        << "the quote opened on line 3 is never closed";
    QTest::newRow("empty") << QByteArray() << "the file has no row of headings";
    QTest::newRow("blank lines only") << QByteArray("\n;;\n") << "the file has no row of headings";
    QTest::newRow("an old binary XLS") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0", 11)
                                       << "neither a CSV table nor an XLSX workbook";
    QTest::newRow("a zip that is no workbook") << QByteArray("PK\x03\x04garbage") << "the XLSX workbook is damaged";
}

void TestImportFiles::unreadableFilesAreRefusedWithTheCause()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stock.csv"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    try {
        readImportFile(path, englishTexts());
        QFAIL("read without complaint");
    } catch (const ImportError& e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("stock.csv: ")), qPrintable(e.text()));
        QVERIFY2(e.text().contains(cause), qPrintable(e.text()));
    }
}

void TestImportFiles::valuesAsWrittenHere_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("money"); // -1: not a number
    QTest::newRow("ISO") << "2024-03-15" << QDate(2024, 3, 15) << -1.0;
    QTest::newRow("ISO with time") << "2024-03-15 10:20:00" << QDate(2024, 3, 15) << -1.0;
    QTest::newRow("Russian") << "15.03.2024" << QDate(2024, 3, 15) << -1.0;
    QTest::newRow("two-digit year") << "1.3.24" << QDate(2024, 3, 1) << -1.0;
    QTest::newRow("slashes, day first") << "15/03/2024" << QDate(2024, 3, 15) << -1.0;
    QTest::newRow("no such day") << "31.02.2024" << QDate() << -1.0;
    QTest::newRow("month first is no day") << "03/15/2024" << QDate() << -1.0;
    QTest::newRow("Russian amount") << "1 234,50" << QDate() << 1234.5;
    QTest::newRow("non-breaking group, rouble sign") << "1\u00A0234,5 ₽" << QDate() << 1234.5;
    QTest::newRow("English amount") << "1,234.50" << QDate() << 1234.5;
    QTest::newRow("roubles written out") << "100 руб." << QDate() << 100.0;
    QTest::newRow("negative") << "-5" << QDate() << -1.0;
    QTest::newRow("words") << "дорого" << QDate() << -1.0;
}

void TestImportFiles::valuesAsWrittenHere()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(double, money);
    QCOMPARE(importDate(text).value_or(QDate()), date);
    QCOMPARE(importMoney(text).value_or(-1.0), money);
}

void TestImportFiles::headingsMatchTheGridsAndStoredNames()
{
    const QStringList headings{"ID инструмента", "brand", "Серийный №:", "Unknown", "Price", "Naim", "Цена", "MESTO"};
    const QList<int> match = matchColumns(ImportKind::Tools, headings);
    const QList<ImportField>& f = importFields(ImportKind::Tools);
    auto column = [&](int i) { return match.at(i) < 0 ? QString() : f.at(match.at(i)).column; };
    QCOMPARE(column(0), QStringLiteral("ID_Tool"));
    QCOMPARE(column(1), QStringLiteral("Proizvoditel"));
    QCOMPARE(column(2), QStringLiteral("SNumber"));
    QCOMPARE(column(3), QString());
    QCOMPARE(column(4), QStringLiteral("Price"));
    QCOMPARE(column(5), QStringLiteral("Naim"));
    QCOMPARE(column(6), QString()); // the price is matched already: the second column is shown and ignored
    QCOMPARE(column(7), QStringLiteral("Mesto"));

    const QList<int> workers = matchColumns(ImportKind::Recipients,
                                            {"ФИО", "Отдел", "Тел. руководителя", "ID user", "Phone number"});
    const QList<ImportField>& u = importFields(ImportKind::Recipients);
    QStringList columns;
    for (int i : workers)
        columns << u.at(i).column;
    QCOMPARE(columns, (QStringList{"FIO", "Otdel", "Shef_Phone", "ID_User", "Phone"}));
}

void TestImportFiles::spreadsheetDates()
{
    QCOMPARE(spreadsheetDateText(45366), QStringLiteral("2024-03-15"));
    QCOMPARE(spreadsheetDateText(61), QStringLiteral("1900-03-01"));
    QCOMPARE(spreadsheetDateText(59), QStringLiteral("1900-02-28"));
    QCOMPARE(spreadsheetDateText(45366.5), QStringLiteral("2024-03-15 12:00:00"));
    QVERIFY(isDateFormat(14, {}));
    QVERIFY(isDateFormat(164, QStringLiteral("DD.MM.YYYY")));
    QVERIFY(isDateFormat(165, QStringLiteral("[$-419]D MMMM YYYY")));
    QVERIFY(!isDateFormat(166, QStringLiteral("#,##0.00\\ [$руб.-419]")));
    QVERIFY(!isDateFormat(167, QStringLiteral("0.00\" days\"")));
    QVERIFY(!isDateFormat(0, QStringLiteral("General")));
}

// A fixture saved by LibreOffice Calc as XLSX and as CSV reads back the same.
void TestImportFiles::filesWrittenByLibreOffice()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QFAIL("soffice not found: install libreoffice-calc");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fixture = dir.filePath(QStringLiteral("stock.csv"));
    {
        QFile f(fixture);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Код;Наименование;Цена;Приобретен;Примечание\n"
                "1001;Дрель «Bosch»;1234.5;2024-03-15;\"две\nстроки\"\n"
                "Т-02;Молоток;100;2023-12-31;\n");
    }
    auto convert = [&](const QString& to, const QString& outDir) {
        QProcess office;
        office.setProcessChannelMode(QProcess::MergedChannels);
        // UTF-8, ';', numbers and ISO dates recognised in the US English convention.
        office.start(soffice,
                     {QStringLiteral("-env:UserInstallation=")
                          + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--infilter=CSV:59,34,76,1,,1033,false,true"),
                      QStringLiteral("--convert-to"), to, QStringLiteral("--outdir"), outDir, fixture});
        if (!office.waitForFinished(300000))
            return QStringLiteral("LibreOffice did not finish");
        return office.exitCode() == 0 ? QString() : QString::fromLocal8Bit(office.readAll());
    };
    const QString xlsxDir = dir.filePath(QStringLiteral("xlsx"));
    const QString csvDir = dir.filePath(QStringLiteral("csv"));
    QString failure = convert(QStringLiteral("xlsx"), xlsxDir);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    failure = convert(QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), csvDir);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    for (const QString& file : {xlsxDir + QStringLiteral("/stock.xlsx"), csvDir + QStringLiteral("/stock.csv")}) {
        const ImportTable t = readImportFile(file, englishTexts());
        QCOMPARE(t.headings, (QStringList{"Код", "Наименование", "Цена", "Приобретен", "Примечание"}));
        QCOMPARE(t.rows.size(), 2);
        const QStringList& first = t.rows.at(0);
        QCOMPARE(first.value(0), QStringLiteral("1001")); // a number cell, no ".0"
        QCOMPARE(first.value(1), QStringLiteral("Дрель «Bosch»"));
        QCOMPARE(importMoney(first.value(2)).value_or(0), 1234.5);
        QCOMPARE(importDate(first.value(3)).value_or(QDate()), QDate(2024, 3, 15));
        QCOMPARE(first.value(4).split(QRegularExpression(QStringLiteral("\r?\n"))), (QStringList{"две", "строки"}));
        const QStringList& second = t.rows.at(1);
        QCOMPARE(second.value(0), QStringLiteral("Т-02"));
        QCOMPARE(importDate(second.value(3)).value_or(QDate()), QDate(2023, 12, 31));
        QCOMPARE(second.value(4), QString());
    }
    // The workbook really holds the date as a day number with a date style.
    QCOMPARE(readImportFile(xlsxDir + QStringLiteral("/stock.xlsx"), englishTexts()).rows.at(0).value(3),
             QStringLiteral("2024-03-15"));
}

QTEST_GUILESS_MAIN(TestImportFiles)
#include "tst_import_files.moc"
