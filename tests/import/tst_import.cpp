#include "core/Messages.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Schema.h"
#include "data/WorkProgress.h"
#include "import/CsvReader.h"
#include "import/ImportError.h"
#include "import/ImportPlan.h"
#include "import/ImportWriter.h"
#include "importpage/EditorPhotos.h"
#include "tests/data/DbFixture.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Messages englishTexts()
{
    Messages texts;
    setMessages(texts, false);
    return texts;
}

// Stops the work at the given step.
class CancelAt : public WorkProgress
{
public:
    explicit CancelAt(qint64 step)
        : m_step(step)
    {
    }
    void setStage(const QString& text) override { stages << text; }
    bool advance(qint64 done, qint64) override { return !(stages.size() > 1 && done >= m_step); }
    QStringList stages;

private:
    qint64 m_step;
};

} // namespace

// Each row's verdict, and the writing of all rows or none, on the file and
// (in the _pg run) on the server.
class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eachRowHasItsVerdict_data();
    void eachRowHasItsVerdict();
    void newToolsStandInTheStoreWithTheirIdentity();
    void updateTakesOnlyTheCellsGiven();
    void workersAreImportedToo();
    void refusedRowsWriteNothing();
    void cancelledWriteLeavesNothing();
    void aChangeAfterThePreviewStopsTheWrite();
    void photosAreScaledAndFiledAsTheEditorsDo();
    void tenThousandRows();

private:
    ImportRequest request(const QByteArray& csv, ImportKind kind = ImportKind::Tools, bool update = false) const;
    int rows(const QString& table) const;
    QVariant value(const QString& sql, const QVariantList& params = {}) const;

    std::unique_ptr<TestData> m_data;
    std::unique_ptr<PgTestDatabase> m_server;
    std::unique_ptr<Connection> m_db;
    Messages m_texts = englishTexts();
};

void TestImport::init()
{
    m_data = std::make_unique<TestData>();
    m_db = std::make_unique<Connection>();
    dbfixture::openTestDatabase(*m_db, *m_data, m_server);
    dbfixture::upgrade(*m_db);
    Connection& db = *m_db;
    const QVariant no = db.dialect().toStorage(FieldKind::Bool, false);
    const QVariant yes = db.dialect().toStorage(FieldKind::Bool, true);
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, SNumber, Model, Passed, WriteOff) "
                           "VALUES ('T001', 'T001', 'Дрель', 'SN-1', 'GBH', ?, ?)"),
            {no, no});
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Naim, Passed, WriteOff) "
                           "VALUES ('T009', 'T009', 'Старая пила', ?, ?)"),
            {yes, yes});
    db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO) VALUES ('U001', 'Иванов')"));
    db.exec(QStringLiteral("INSERT INTO History (ID_U, ID_T, Operation) VALUES ('U001', 'T001', 'issued')"));
    db.exec(QStringLiteral("INSERT INTO MESTO (AField) VALUES ('Склад 1')"));
}

void TestImport::cleanup()
{
    m_db.reset();
    m_server.reset();
    m_data.reset();
}

ImportRequest TestImport::request(const QByteArray& csv, ImportKind kind, bool update) const
{
    ImportRequest r;
    r.kind = kind;
    r.table = readCsv(csv, m_texts);
    r.match = matchColumns(kind, r.table.headings);
    r.update = update;
    r.placePrefix = QStringLiteral("PL-");
    return r;
}

int TestImport::rows(const QString& table) const
{
    return int(m_db->count(Select(table)));
}

QVariant TestImport::value(const QString& sql, const QVariantList& params) const
{
    return m_db->scalar(sql, params);
}

void TestImport::eachRowHasItsVerdict_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<bool>("update");
    QTest::addColumn<QStringList>("verdicts"); // code, then the verdict's text or the start of a reason

    const QByteArray head = "Код;Наименование;Серийный №;Цена;Приобретен\n";
    QTest::newRow("new, and an empty code generated as the editor makes it")
        << head + "A1;Дрель;;;\n;Молоток;;;\n;Пила;;;\n"
        << false << QStringList{"A1 new", "3001 new, code generated", "4001 new, code generated"};
    QTest::newRow("an existing code, case and blanks aside, is skipped") << head
            + " t001 ;Дрель;;;\n" << false << QStringList{"t001 skipped: the code exists"};
    QTest::newRow("or updated") << head + "t001;Дрель;SN-1;;\n" << true << QStringList{"t001 update"};
    QTest::newRow("a worker's code") << head + "u001;Дрель;;;\n"
                                     << false << QStringList{"u001 refused: the code u001 is a worker's already"};
    QTest::newRow("a written-off tool is not updated") << head
            + "T009;Пила;;;\n" << true << QStringList{"T009 refused: the tool T009 is written off"};
    QTest::newRow("nor refused when skipped") << head + "T009;Пила;;;\n"
                                              << false << QStringList{"T009 skipped: the code exists"};
    QTest::newRow("another tool's serial number")
        << head + "A2;Дрель;sn-1 ;;\n"
        << false << QStringList{"A2 refused: the serial number sn-1 is another tool's already"};
    QTest::newRow("a code twice in the file") << head + "A1;Дрель;;;\nB1;Пила;;;\na1;Молоток;;;\n"
                                              << false
                                              << QStringList{"A1 refused: the code A1 is also on line 4", "B1 new",
                                                             "a1 refused: the code a1 is also on line 2"};
    QTest::newRow("a serial number twice in the file")
        << head + "A1;Дрель;X-7;;\nA2;Пила;x-7;;\n"
        << false
        << QStringList{"A1 refused: the serial number X-7 is also on line 3",
                       "A2 refused: the serial number x-7 is also on line 2"};
    QTest::newRow("an empty required name") << head + "A1; ;;;\n" << false << QStringList{"A1 refused: empty: Name"};
    QTest::newRow("a price and a date that cannot be read")
        << head + "A1;Дрель;;дорого;31.02.2024\n"
        << false
        << QStringList{"A1 refused: Price: \"дорого\" is not a number; Purchase date: \"31.02.2024\" is not a date"};
    QTest::newRow("a row too long") << head + "A1;Дрель;;;;лишнее\n"
                                    << false
                                    << QStringList{"A1 refused: the row holds 6 values but there are 5 headings"};
    QTest::newRow("a code longer than the column")
        << head + "ABCDEFGHIJKLMNOPQ;Дрель;;;\n"
        << false << QStringList{"ABCDEFGHIJKLMNOPQ refused: ID tool is longer than 16 characters"};
    QTest::newRow("a code a place label's could be taken for") << head
            + "pl-5;Дрель;;;\n" << false << QStringList{"pl-5 refused: The code pl-5 begins with PL-"};
}

void TestImport::eachRowHasItsVerdict()
{
    QFETCH(QByteArray, csv);
    QFETCH(bool, update);
    QFETCH(QStringList, verdicts);
    SilentProgress progress;
    const ImportPlan plan = ImportPlan::make(*m_db, request(csv, ImportKind::Tools, update), m_texts, progress);
    QCOMPARE(plan.rows.size(), verdicts.size());
    for (int i = 0; i < verdicts.size(); ++i) {
        const QString shown = plan.rows.at(i).code + u' ' + ImportPlan::verdictText(plan.rows.at(i), m_texts);
        QVERIFY2(shown.startsWith(verdicts.at(i)), qPrintable(shown));
    }
}

void TestImport::newToolsStandInTheStoreWithTheirIdentity()
{
    const ImportRequest r = request("Код;Наименование;Тип;Место;Цена;Приобретен;Гарантия\n"
                                    "A1;Дрель;Электро;склад 1;1 234,50;15.03.2024;2026-01-31\n"
                                    ";Молоток;Ручной;Склад 2;;;\n"
                                    ";Пила;Ручной;;;;\n");
    SilentProgress progress;
    const ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    // "склад 1" is the dictionary's "Склад 1"; the names join the names' dictionary.
    QCOMPARE(plan.newPlaces, QStringList{"Склад 2"});
    QCOMPARE(plan.newTypes, (QStringList{"Электро", "Ручной"}));
    QCOMPARE(plan.newNames, (QStringList{"Дрель", "Молоток", "Пила"}));
    const ImportCounts counts = ImportWriter(*m_db, m_texts).write(r, plan, progress);
    QCOMPARE(counts.added, 3);

    Statement q = m_db->run(QStringLiteral("SELECT ID_Tool, ID_Tool_Unique, Passed, WriteOff, Date_Purchase, "
                                           "Guarantee, Mesto FROM Tools WHERE ID > 2 ORDER BY ID"));
    QStringList written;
    while (q->next()) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << m_db->dialect().fromEngine(q->value(c)).toString();
        written << cells.join(u'|');
    }
    QCOMPARE(written,
             (QStringList{"A1|A1|1|0|2024-03-15|2026-01-31|склад 1", "3001|3001|1|0|||Склад 2", "4001|4001|1|0|||"}));
    QCOMPARE(value(QStringLiteral("SELECT Price FROM Tools WHERE ID_Tool='A1'")).toDouble(), 1234.5);
    QCOMPARE(rows(col::MESTO::Table), 2);
    QCOMPARE(rows(col::TOOLTYPES::Table), 2);
    QCOMPARE(rows(col::History::Table), 1); // the journal is not touched
}

void TestImport::updateTakesOnlyTheCellsGiven()
{
    const ImportRequest r = request("Код;Наименование;Модель;Серийный №\nt001 ;Дрель ударная;;SN-1\n",
                                    ImportKind::Tools, true);
    SilentProgress progress;
    const ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    QCOMPARE(ImportWriter(*m_db, m_texts).write(r, plan, progress).updated, 1);
    QCOMPARE(rows(col::Tools::Table), 2);
    // The code as written, its identity and the model the file leaves empty as they were.
    Statement q = m_db->run(
        QStringLiteral("SELECT ID_Tool, ID_Tool_Unique, Naim, Model, Passed FROM Tools WHERE ID=1"));
    QVERIFY(q->next());
    QCOMPARE(q->value(0).toString(), QStringLiteral("t001"));
    QCOMPARE(q->value(1).toString(), QStringLiteral("T001"));
    QCOMPARE(q->value(2).toString(), QStringLiteral("Дрель ударная"));
    QCOMPARE(q->value(3).toString(), QStringLiteral("GBH"));
    QCOMPARE(m_db->dialect().fromEngine(q->value(4)).toInt(), 0); // still issued
}

void TestImport::workersAreImportedToo()
{
    const ImportRequest r = request("ФИО;ID получателя;Отдел\nПетров;U002;ОГМ\nСидоров;;ОГМ\nКузнецов;T001;\n",
                                    ImportKind::Recipients);
    SilentProgress progress;
    ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    QCOMPARE(ImportPlan::verdictText(plan.rows.at(1), m_texts), m_texts.rsImportNewGenerated);
    QCOMPARE(plan.rows.at(1).code, QStringLiteral("2002")); // one worker, then Петров: the highest key 2, then "002"
    QVERIFY(ImportPlan::verdictText(plan.rows.at(2), m_texts).contains(QStringLiteral("is a tool's already")));

    const ImportRequest fixed = request("ФИО;ID получателя;Отдел\nПетров;U002;ОГМ\nСидоров;;ОГМ\n",
                                        ImportKind::Recipients);
    plan = ImportPlan::make(*m_db, fixed, m_texts, progress);
    QCOMPARE(ImportWriter(*m_db, m_texts).write(fixed, plan, progress).added, 2);
    QCOMPARE(value(QStringLiteral("SELECT FIO FROM Users WHERE ID_User='2002'")).toString(), QStringLiteral("Сидоров"));
    QCOMPARE(rows(col::TOOLTYPES::Table), 0);
}

void TestImport::refusedRowsWriteNothing()
{
    const ImportRequest r = request("Код;Наименование\nA1;Дрель\nU001;Пила\n");
    SilentProgress progress;
    const ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    QVERIFY(plan.refused());
    try {
        ImportWriter(*m_db, m_texts).write(r, plan, progress);
        QFAIL("written");
    } catch (const ImportError& e) {
        QCOMPARE(e.text(), m_texts.rsImportRefusedRows.arg(1));
    }
    QCOMPARE(rows(col::Tools::Table), 2);
    QCOMPARE(rows(col::NAIMENOVANIYA::Table), 0);
}

void TestImport::cancelledWriteLeavesNothing()
{
    QByteArray csv = "Код;Наименование;Место\n";
    for (int i = 0; i < 1000; ++i)
        csv += QStringLiteral("A%1;Дрель;Склад %2\n").arg(i).arg(i % 7).toUtf8();
    const ImportRequest r = request(csv);
    SilentProgress silent;
    const ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, silent);
    CancelAt cancel(512);
    QVERIFY_THROWS_EXCEPTION(ImportError, ImportWriter(*m_db, m_texts).write(r, plan, cancel));
    QCOMPARE(cancel.stages, (QStringList{m_texts.rsImportStagePreview, m_texts.rsImportStageWrite}));
    QCOMPARE(rows(col::Tools::Table), 2);
    QCOMPARE(rows(col::MESTO::Table), 1);
}

void TestImport::aChangeAfterThePreviewStopsTheWrite()
{
    const ImportRequest r = request("Код;Наименование\nA1;Дрель\n;Пила\n");
    SilentProgress progress;
    const ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    // Another desk adds a tool meanwhile: the generated code would no longer be the one shown.
    const QVariant yes = m_db->dialect().toStorage(FieldKind::Bool, true);
    m_db->exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Naim, Passed, WriteOff) VALUES ('Z9', 'x', ?, ?)"),
               {yes, m_db->dialect().toStorage(FieldKind::Bool, false)});
    try {
        ImportWriter(*m_db, m_texts).write(r, plan, progress);
        QFAIL("written");
    } catch (const ImportError& e) {
        QCOMPARE(e.text(), m_texts.rsImportChangedMeanwhile);
    }
    QCOMPARE(rows(col::Tools::Table), 3);
}

void TestImport::photosAreScaledAndFiledAsTheEditorsDo()
{
    QTemporaryDir photos;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(photos.filePath(QStringLiteral("a1.BMP")), "BMP"));
    QFile broken(photos.filePath(QStringLiteral("B1.jpg")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xE0 not a picture");
    broken.close();

    ImportRequest r = request("Код;Наименование\nA1;Дрель\nB1;Пила\n");
    r.photoFolder = photos.path();
    SilentProgress progress;
    ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    ImportWriter writer(*m_db, m_texts, editorPhotos(m_data->folder() + QStringLiteral("/Data/"), false));
    // A picture that cannot be read stops the whole import, naming it.
    try {
        writer.write(r, plan, progress);
        QFAIL("written");
    } catch (const ImportError& e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("photo B1.jpg: ")), qPrintable(e.text()));
    }
    QCOMPARE(rows(col::Tools::Table), 2);

    QVERIFY(QFile::remove(broken.fileName()));
    plan = ImportPlan::make(*m_db, r, m_texts, progress);
    writer.write(r, plan, progress);
    QImage stored;
    QVERIFY(
        stored.loadFromData(value(QStringLiteral("SELECT Photo FROM Tools WHERE ID_Tool='A1'")).toByteArray(), "BMP"));
    QCOMPARE(stored.size(), QSize(184, 195));
    QVERIFY(value(QStringLiteral("SELECT Photo FROM Tools WHERE ID_Tool='B1'")).toByteArray().isEmpty());
    QVERIFY(QFile::exists(m_data->data(QStringLiteral("Images/A1/a1.BMP"))));
}

void TestImport::tenThousandRows()
{
    QByteArray csv = "Код;Наименование;Тип;Место;Серийный №;Цена;Приобретен\n";
    for (int i = 0; i < 10000; ++i)
        csv += QStringLiteral("%1;Инструмент %2;Тип %3;Место %4;SN%2;%5,50;01.02.2024\n")
                   .arg(i % 10 ? QStringLiteral("N%1").arg(i) : QString())
                   .arg(i)
                   .arg(i % 13)
                   .arg(i % 5)
                   .arg(i % 900)
                   .toUtf8();
    const ImportRequest r = request(csv);
    SilentProgress progress;
    const ImportPlan plan = ImportPlan::make(*m_db, r, m_texts, progress);
    QCOMPARE(plan.count(RowVerdict::New), 10000);
    QCOMPARE(ImportWriter(*m_db, m_texts).write(r, plan, progress).added, 10000);
    QCOMPARE(rows(col::Tools::Table), 10002);
    // No two generated codes alike, none equal to a written one.
    QCOMPARE(value(QStringLiteral("SELECT COUNT(DISTINCT ID_Tool) FROM Tools")).toInt(), 10002);
    QCOMPARE(rows(col::MESTO::Table), 6);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
