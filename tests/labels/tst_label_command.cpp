// Labels from the command line: the real program, without a display, on a
// program folder of its own. What it prints is decoded from the PDF and the
// codes typed back into the desk's lookup; what it refuses leaves no file.
#include "PrintedLabels.h"
#include "support/ProgramRun.h"

#include "core/CodeLookup.h"
#include "data/Connection.h"
#include "support/TestData.h"

#include <QProcess>
#include <QtTest>

namespace {

constexpr int kDpi = 300;

using Outcome = ProgramOutcome;

class ProgramFolder
{
public:
    ProgramFolder()
    {
        QFile::copy(QStringLiteral(TOOLDESK_BINARY), program());
        Connection db;
        db.open(data.dbPath());
        db.exec("INSERT INTO Users (ID_User, FIO) VALUES ('U-17', 'Иванов И.И.'), ('U-18', 'Петров П.П.')");
        db.exec("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Naim) VALUES "
                "('T001', 'T001', 'Дрель', 'Дрель ударная'), ('T002', 'T002', 'Ключ', ''), "
                "('', 'X', 'Без кода', ''), ('Т-РУС', 'R', 'Молоток', '')");
        db.exec("INSERT INTO MESTO (AField) VALUES ('Стеллаж 1'), ('Шкаф 2')");
    }

    QString program() const { return data.folder() + QStringLiteral("tooldesk"); }
    QString file(const QString& name) const { return out.filePath(name); }

    Outcome run(const QStringList& arguments) const
    {
        return runWithoutDisplay(program(), QStringList{QStringLiteral("--labels")} + arguments);
    }

    void addIniLines(const QString& lines) const { data.writeIni(data.readIni() + lines); }

    TestData data;
    QTemporaryDir out;
};

// The codes on each page, as ZXing-C++ reads each 70 x 37 box of the A4
// sheet in order (empty boxes left out).
QList<QStringList> readSheet(const QString& pdf)
{
    QList<QStringList> pages;
    for (const QImage& page : PrintedLabels::render(pdf, kDpi)) {
        QStringList codes;
        for (int slot = 0; slot < 24; ++slot) {
            const QRectF box(slot % 3 * 70, 0.5 + slot / 3 * 37, 70, 37);
            const auto found = PrintedLabels::zxing(PrintedLabels::crop(page, box, kDpi));
            if (found.size() > 1)
                return {{QStringLiteral("two symbols in slot %1").arg(slot)}};
            if (!found.isEmpty())
                codes << QStringLiteral("%1:%2").arg(slot).arg(found.first().text);
        }
        pages << codes;
    }
    return pages;
}

} // namespace

class TestLabelCommand : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void listsTheLayouts();
    void toolLabelsFromThePartlyUsedSheetOn();
    void badgesAndPlacesOnRolls();
};

void TestLabelCommand::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString pdf = QStringLiteral("--pdf");
    const QString file = QStringLiteral("a.pdf"); // made absolute in the test
    QTest::newRow("unknown register") << QStringList{"badges", pdf, file} << 2 << "unknown register: badges";
    QTest::newRow("no file") << QStringList{"tools"} << 2 << "give --pdf FILE";
    QTest::newRow("unknown symbol") << QStringList{"tools", "--symbol", "ean13", pdf, file} << 2
                                    << "unknown symbol: ean13";
    QTest::newRow("no copies") << QStringList{"tools", "--copies", "0", pdf, file} << 2
                               << "--copies needs a whole number from 1 to 1000";
    QTest::newRow("skip a whole sheet") << QStringList{"tools", "--skip", "24", pdf, file} << 2
                                        << "--skip must be less than the 24 labels of a page of A4-70x37";
    QTest::newRow("skip on a roll") << QStringList{"tools", "--layout", "roll-62x29", "--skip", "1", pdf, file} << 2
                                    << "--skip must be less than the 1 labels";
    QTest::newRow("empty codes") << QStringList{"tools", "--codes", " , ", pdf, file} << 2 << "--codes names no code";
    QTest::newRow("unknown layout") << QStringList{"tools", "--layout", "A5", pdf, file} << 1
                                    << "Нет такого макета этикеток: A5. Макеты: A4-70x37, A4-70x25.4";
    QTest::newRow("unknown code") << QStringList{"tools", "--codes", "T001,T999", pdf, file} << 1
                                  << "Код не найден: T999";
    QTest::newRow("Cyrillic in Code 128")
        << QStringList{"tools", pdf, file} << 1 << "Код Т-РУС содержит знаки, которые Code 128 не передает";
    QTest::newRow("unknown place") << QStringList{"places", "--codes", "PL-99", pdf, file} << 1
                                   << "Код не найден: PL-99";
    QTest::newRow("unwritable file") << QStringList{"tools", "--codes", "T001", pdf, "/nonexistent/dir/a.pdf"} << 1
                                     << "Этикетки НЕ записаны: /nonexistent/dir/a.pdf\nПапка не найдена";
}

void TestLabelCommand::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    ProgramFolder folder;
    // An earlier sheet of the same name stays as it was.
    const QString earlier = folder.file(QStringLiteral("a.pdf"));
    QFile old(earlier);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier");
    old.close();
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^a\\.pdf$")), earlier);
    const Outcome outcome = folder.run(arguments);
    QCOMPARE(outcome.status, status);
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("earlier"));
    QCOMPARE(QDir(folder.out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.pdf"});
}

void TestLabelCommand::listsTheLayouts()
{
    ProgramFolder folder;
    QFile site(folder.data.data(QStringLiteral("Labels.txt")));
    QVERIFY(site.open(QIODevice::WriteOnly));
    site.write("Shelf-80x20 label=80x20\n");
    site.close();
    folder.data.writeIni(folder.data.readIni().replace(QStringLiteral("Lenguage=RU"), QStringLiteral("Lenguage=EN")));
    Outcome outcome = folder.run({});
    QCOMPARE(outcome.status, 0);
    QVERIFY2(outcome.out.startsWith(QStringLiteral("Label layouts")), qPrintable(outcome.out));
    QVERIFY(outcome.out.contains(QStringLiteral("A4-38x21.2\t38 x 21.2 mm, 5 x 13, 210 x 297 mm\n")));
    QVERIFY(outcome.out.contains(QStringLiteral("Shelf-80x20\t80 x 20 mm, 1 x 1, 80 x 20 mm\n")));

    QVERIFY(site.open(QIODevice::Append));
    site.write("Broken label=80\n");
    site.close();
    outcome = folder.run({});
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.err.contains(QStringLiteral("Labels.txt, line 2: \"label=80\" is not understood")),
             qPrintable(outcome.err));
}

void TestLabelCommand::toolLabelsFromThePartlyUsedSheetOn()
{
    ProgramFolder folder;
    const QString pdf = folder.file(QStringLiteral("tools.pdf"));
    // Every tool with a code, in the order they were added: Cyrillic needs a 2D symbol.
    const Outcome outcome = folder.run({"tools", "--symbol", "qr", "--skip", "21", "--copies", "2", "--pdf", pdf});
    QCOMPARE(outcome.status, 0);
    QVERIFY2(outcome.out.contains(QStringLiteral("этикеток: 6, страниц: 2")), qPrintable(outcome.out));
    const QList<QStringList> pages = readSheet(pdf);
    QCOMPARE(pages, (QList<QStringList>{{"21:T001", "22:T001", "23:T002"}, {"0:T002", "1:Т-РУС", "2:Т-РУС"}}));

    // Typed into the desk, each code finds its tool.
    Connection db;
    db.open(folder.data.dbPath());
    for (const QString& code : {QStringLiteral("T001"), QStringLiteral("T002"), QStringLiteral("Т-РУС")})
        QCOMPARE(classifyCode(db, code), CodeClass::Tool);
}

void TestLabelCommand::badgesAndPlacesOnRolls()
{
    ProgramFolder folder;
    folder.addIniLines(QStringLiteral("PlaceLabelPrefix=MS-\n"));
    const QString badges = folder.file(QStringLiteral("badges.pdf"));
    QCOMPARE(folder.run({"recipients", "--codes", "u-18,U-17", "--layout", "roll-54x25", "--pdf", badges}).status, 0);
    const QString places = folder.file(QStringLiteral("places.pdf"));
    QCOMPARE(folder.run({"places", "--layout", "Roll-62x29", "--symbol", "datamatrix", "--pdf", places}).status, 0);

    QStringList read;
    for (const QString& pdf : {badges, places}) {
        for (const QImage& page : PrintedLabels::render(pdf, kDpi)) {
            const auto found = PrintedLabels::zxing(page);
            QCOMPARE(found.size(), 1);
            read << found.first().text;
        }
    }
    // The badges in the order asked for, with the codes as stored.
    QCOMPARE(read, (QStringList{"U-18", "U-17", "MS-1", "MS-2"}));
    Connection db;
    db.open(folder.data.dbPath());
    QCOMPARE(classifyCode(db, read.first()), CodeClass::User);
}

QTEST_MAIN(TestLabelCommand)
#include "tst_label_command.moc"
