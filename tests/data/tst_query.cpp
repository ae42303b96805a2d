#include "DbFixture.h"
#include "data/DbError.h"
#include "data/QueryModel.h"

#include <QSet>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(Select)

namespace {

// A delivered database brought to the current layout, with generated tools.
struct Db {
    explicit Db(int tools = 0)
    {
        dbfixture::openTestDatabase(db, data, server);
        dbfixture::upgrade(db);
        if (tools > 0)
            dbfixture::addTools(db, tools);
    }
    int count(const QString& table = QStringLiteral("Tools"))
    {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    }
    TestData data;
    std::unique_ptr<PgTestDatabase> server; // dropped after the connection closes
    Connection db;
};

const Select kById = Select(QStringLiteral("Tools")).orderBy(QStringLiteral("ID"));

QStringList column(Query& q, const QString& field)
{
    QStringList values;
    for (int row = 0; row < q.fetchedCount(); ++row)
        values << q.value(row, q.fieldIndex(field)).toString();
    return values;
}

void fetchAll(Query& q)
{
    while (q.canFetchMore())
        q.fetchMore();
}

// Every row of the result once: no row shown twice, none lost.
QSet<qint64> keysOf(Query& q)
{
    QSet<qint64> keys;
    const int id = q.fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < q.fetchedCount(); ++row)
        keys.insert(q.value(row, id).toLongLong());
    return keys;
}

} // namespace

class TstQuery : public QObject
{
    Q_OBJECT

private slots:
    void navigation();
    void emptyResult();
    void fieldsByName_data();
    void fieldsByName();
    void kinds_data();
    void kinds();
    void storedValues_data();
    void storedValues();
    void numericTextIsCheckedBeforeStoring_data();
    void numericTextIsCheckedBeforeStoring();
    void legacyTrueReadsAsTrue();

    void lazyPaging();
    void iterationCrossesPages();
    void locate_data();
    void locate();

    void appendPost();
    void appendCountsOnce_data();
    void appendCountsOnce();
    void appendThenScrollShowsEachRowOnce_data();
    void appendThenScrollShowsEachRowOnce();
    void editPostByKey_data();
    void editPostByKey();
    void cancel();
    void remove();
    void removeThenScrollLosesNothing();
    void postOnRowDeletedElsewhere_data();
    void postOnRowDeletedElsewhere();
    void readOnlyResults_data();
    void readOnlyResults();
    void statementChangedToSeveralTablesRunsTheNewOne();

    void setSort_data();
    void setSort();
    void setSortRejects_data();
    void setSortRejects();
    void sortAppliesAcrossPages();
    void designOrderListsFalseFirst();
    void closeDropsSort_data();
    void closeDropsSort();

    void modelFollowsFetching();
    void modelDisplayText_data();
    void modelDisplayText();
};

void TstQuery::navigation()
{
    Db d(5);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QCOMPARE(q.recNo(), 0);
    QVERIFY(!q.eof());

    QStringList seen;
    for (q.first(); !q.eof(); q.next())
        seen << q.text(QStringLiteral("ID_Tool"));
    QCOMPARE(seen, (QStringList{"T00001", "T00002", "T00003", "T00004", "T00005"}));
    QCOMPARE(q.recNo(), 4);

    QSignalSpy moved(&q, &Query::currentChanged);
    QVERIFY(q.setRecNo(2));
    QVERIFY(!q.eof());
    QCOMPARE(q.text(QStringLiteral("ID_Tool")), QStringLiteral("T00003"));
    QCOMPARE(moved.count(), 1);
    QVERIFY(!q.setRecNo(5));
    QVERIFY(!q.setRecNo(-1));
    QCOMPARE(q.recNo(), 2);
}

void TstQuery::emptyResult()
{
    Db d(3);
    Query q(d.db);
    q.setStatement(Select(QStringLiteral("Tools")).where(QStringLiteral("ID_Tool = ?"), {QStringLiteral("none")}));
    q.open();
    QVERIFY(q.isOpen());
    QVERIFY(q.isEmpty());
    QVERIFY(q.eof());
    QCOMPARE(q.recNo(), -1);
    QCOMPARE(q.recordCount(), 0);
    q.first();
    q.next();
    QVERIFY(q.eof());
    QVERIFY(q.hasField(QStringLiteral("Model"))); // fields are known without rows
    QVERIFY(q.value(QStringLiteral("Model")).isNull());
    QVERIFY_THROWS_EXCEPTION(DbError, q.edit());
}

void TstQuery::fieldsByName_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("present");
    QTest::newRow("as declared") << "ID_Tool" << true;
    QTest::newRow("lower") << "id_tool" << true;
    QTest::newRow("upper") << "ID_TOOL" << true;
    QTest::newRow("added by upgrade") << "id_tool_unique" << true;
    QTest::newRow("absent") << "Tool" << false;
}

void TstQuery::fieldsByName()
{
    QFETCH(QString, field);
    QFETCH(bool, present);
    Db d(1);
    d.db.exec(QStringLiteral("UPDATE Tools SET ID_Tool_Unique = ID_Tool"));
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QCOMPARE(q.hasField(field), present);
    if (present) {
        QCOMPARE(q.text(field), QStringLiteral("T00001"));
        QCOMPARE(q.fieldNames().at(q.fieldIndex(field)).compare(field, Qt::CaseInsensitive), 0);
    } else {
        QCOMPARE(q.fieldIndex(field), -1);
        QVERIFY_THROWS_EXCEPTION(DbError, q.value(field));
    }
}

void TstQuery::kinds_data()
{
    QTest::addColumn<Select>("statement");
    QTest::addColumn<QString>("sql"); // used when no statement is described
    QTest::addColumn<QString>("field");
    QTest::addColumn<FieldKind>("kind");
    QTest::newRow("key") << kById << ""
                         << "ID" << FieldKind::Integer;
    QTest::newRow("code") << kById << ""
                          << "ID_Tool" << FieldKind::Text;
    QTest::newRow("date") << kById << ""
                          << "Guarantee" << FieldKind::Date;
    QTest::newRow("picture") << kById << ""
                             << "Photo" << FieldKind::Blob;
    QTest::newRow("yes/no") << kById << ""
                            << "Passed" << FieldKind::Bool;
    QTest::newRow("money") << kById << ""
                           << "Price" << FieldKind::Real;
    QTest::newRow("added date") << kById << ""
                                << "Issued_date" << FieldKind::Date;
    QTest::newRow("added yes/no") << kById << ""
                                  << "WriteOff" << FieldKind::Bool;
    QTest::newRow("added integer") << kById << ""
                                   << "WriteOff_AKT_ID" << FieldKind::Integer;
    QTest::newRow("added memo") << kById << ""
                                << "WriteOffNote" << FieldKind::Text;
    QTest::newRow("time") << Schema::history() << ""
                          << "ATime" << FieldKind::Time;
    QTest::newRow("date-time") << Select(QStringLiteral("AKTSpisaniya")) << ""
                               << "ADate" << FieldKind::DateTime;
    QTest::newRow("names in lower case") << Select(QStringLiteral("tools")).columns({"id", "passed"}) << ""
                                         << "passed" << FieldKind::Bool;
    // A text result's kinds are the engine's: the text is never looked into.
    QTest::newRow("computed") << Select() << "SELECT COUNT(*) AS N FROM Tools"
                              << "N" << FieldKind::Integer;
}

void TstQuery::kinds()
{
    QFETCH(Select, statement);
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(FieldKind, kind);
    Db d(1);
    Query q(d.db);
    if (statement.table().isEmpty())
        q.setSql(sql);
    else
        q.setStatement(statement);
    q.open();
    QVERIFY(q.hasField(field));
    QCOMPARE(q.fieldKind(q.fieldIndex(field)), kind);
}

void TstQuery::storedValues_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("date") << "Tools"
                          << "Guarantee" << QVariant(QDate(2024, 3, 5)) << QVariant("2024-03-05");
    QTest::newRow("date from date-time") << "Tools"
                                         << "Issued_date" << QVariant(QDateTime(QDate(2024, 3, 5), QTime(17, 1)))
                                         << QVariant("2024-03-05");
    QTest::newRow("true") << "Tools"
                          << "Passed" << QVariant(true) << QVariant(1);
    QTest::newRow("false") << "Tools"
                           << "WriteOff" << QVariant(false) << QVariant(0);
    QTest::newRow("legacy true") << "Tools"
                                 << "Passed" << QVariant(-1) << QVariant(1);
    QTest::newRow("money") << "Tools"
                           << "Price" << QVariant(12.5) << QVariant(12.5);
    QTest::newRow("integer from text") << "Tools"
                                       << "WriteOff_AKT_ID" << QVariant("42") << QVariant(42);
    QTest::newRow("text from number") << "Tools"
                                      << "Model" << QVariant(7) << QVariant("7");
    QTest::newRow("time") << "History"
                          << "ATime" << QVariant(QTime(9, 5, 7)) << QVariant("09:05:07");
    QTest::newRow("date-time") << "AKTSpisaniya"
                               << "ADate" << QVariant(QDateTime(QDate(2024, 3, 5), QTime(14, 30)))
                               << QVariant("2024-03-05 14:30:00");
    QTest::newRow("null") << "Tools"
                          << "Guarantee" << QVariant() << QVariant();
}

void TstQuery::storedValues()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QVariant, given);
    QFETCH(QVariant, stored);
    Db d;
    Query q(d.db);
    q.setStatement(Select(table));
    q.open();
    q.append();
    q.setValue(field, given);
    q.post();

    const QVariant raw = d.db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE ID = ?").arg(field, table),
                                     {q.value(QStringLiteral("ID"))});
    QCOMPARE(raw.isNull(), stored.isNull());
    if (!stored.isNull()) {
        QCOMPARE(raw.toString(), stored.toString());
        if (!d.db.dialect().isServer()) { // the server's columns hold one type each
            const QString type = d.db.scalar(QStringLiteral("SELECT typeof(%1) FROM %2").arg(field, table)).toString();
            const bool numeric = stored.typeId() != QMetaType::QString;
            QCOMPARE(type, numeric ? (stored.typeId() == QMetaType::Double ? "real" : "integer") : "text");
        }
    }

    // The typed readers give back what was given.
    switch (given.typeId()) {
    case QMetaType::QDate:
        QCOMPARE(q.date(field), given.toDate());
        break;
    case QMetaType::QTime:
        QCOMPARE(q.time(field), given.toTime());
        break;
    case QMetaType::QDateTime:
        if (q.fieldKind(q.fieldIndex(field)) == FieldKind::DateTime)
            QCOMPARE(q.dateTime(field), given.toDateTime());
        else
            QCOMPARE(q.date(field), given.toDate());
        break;
    case QMetaType::Bool:
        QCOMPARE(q.boolean(field), given.toBool());
        break;
    default:
        break;
    }
}

void TstQuery::numericTextIsCheckedBeforeStoring_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("integer") << "WriteOff_AKT_ID"
                             << " 17 " << true << QVariant(17);
    QTest::newRow("integer empty is null") << "WriteOff_AKT_ID"
                                           << "" << true << QVariant();
    QTest::newRow("integer garbage") << "WriteOff_AKT_ID"
                                     << "abc" << false << QVariant();
    QTest::newRow("integer with fraction") << "WriteOff_AKT_ID"
                                           << "1.5" << false << QVariant();
    QTest::newRow("money with point") << "Price"
                                      << "12.75" << true << QVariant(12.75);
    QTest::newRow("money empty is null") << "Price"
                                         << "  " << true << QVariant();
    QTest::newRow("money garbage") << "Price"
                                   << "twelve" << false << QVariant();
}

void TstQuery::numericTextIsCheckedBeforeStoring()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);
    Db d(1);
    d.db.exec(QStringLiteral("UPDATE Tools SET WriteOff_AKT_ID = 5, Price = 1.25"));
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    const QVariant before = q.value(field);
    q.edit();
    if (!accepted) {
        // Silently storing 0 would lose what the user typed.
        QVERIFY_THROWS_EXCEPTION(DbError, q.setValue(field, text));
        q.post();
        QCOMPARE(d.db.scalar(QStringLiteral("SELECT %1 FROM Tools").arg(field)), before);
        return;
    }
    q.setValue(field, text);
    q.post();
    const QVariant raw = d.db.scalar(QStringLiteral("SELECT %1 FROM Tools").arg(field));
    QCOMPARE(raw.isNull(), stored.isNull());
    if (!stored.isNull())
        QCOMPARE(raw.toDouble(), stored.toDouble());
}

void TstQuery::legacyTrueReadsAsTrue()
{
    Db d;
    if (d.db.dialect().isServer())
        QSKIP("the file's older versions stored true as -1; the server's yes/no columns are booleans");
    d.db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Passed) VALUES ('OLD', -1), ('NEW', 1), ('NO', 0)"));
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QList<bool> values;
    for (q.first(); !q.eof(); q.next())
        values << q.boolean(QStringLiteral("Passed"));
    QCOMPARE(values, (QList<bool>{true, true, false}));
}

void TstQuery::lazyPaging()
{
    Db d(3000);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    const int firstPage = q.fetchedCount();
    QVERIFY(firstPage > 0 && firstPage < 3000);
    QVERIFY(q.canFetchMore());

    q.fetchMore();
    const int twoPages = q.fetchedCount();
    QVERIFY(twoPages > firstPage && twoPages < 3000);

    QCOMPARE(q.recordCount(), 3000); // counted, not fetched
    QCOMPARE(q.fetchedCount(), twoPages);

    QVERIFY(q.setRecNo(2500));
    QCOMPARE(q.text(QStringLiteral("ID_Tool")), dbfixture::toolCode(2501));
    QVERIFY(!q.setRecNo(3000));

    fetchAll(q);
    QCOMPARE(q.fetchedCount(), 3000);
    QVERIFY(!q.canFetchMore());
    QCOMPARE(keysOf(q).size(), 3000);
    QCOMPARE(q.recordCount(), 3000);

    // The count binds the statement's own values.
    Query issued(d.db);
    issued.setStatement(
        Select(QStringLiteral("Tools")).where(QStringLiteral("Passed = ?"), {true}).orderBy(QStringLiteral("ID")));
    issued.open();
    QCOMPARE(issued.recordCount(), 1000);
    QVERIFY(issued.fetchedCount() < 1000);
}

void TstQuery::iterationCrossesPages()
{
    Db d(1234);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    int rows = 0;
    qint64 last = 0;
    for (q.first(); !q.eof(); q.next()) {
        const qint64 id = q.integer(QStringLiteral("ID"));
        QVERIFY2(id > last, qPrintable(QStringLiteral("row %1").arg(rows)));
        last = id;
        ++rows;
    }
    QCOMPARE(rows, 1234);
}

void TstQuery::locate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("row"); // -1: not found
    QTest::newRow("text in first page") << "ID_Tool" << QVariant("T00050") << 49;
    QTest::newRow("text beyond first page") << "ID_Tool" << QVariant("T02999") << 2998;
    QTest::newRow("key beyond first page") << "ID" << QVariant(2750) << 2749;
    QTest::newRow("date") << "Date_Purchase" << QVariant(QDate(2020, 1, 1).addDays(2222)) << 2221;
    QTest::newRow("yes/no") << "Passed" << QVariant(true) << 2;
    QTest::newRow("field name in other case") << "id_tool" << QVariant("T01500") << 1499;
    QTest::newRow("absent value") << "ID_Tool" << QVariant("none") << -1;
    QTest::newRow("absent field") << "NoField" << QVariant("T00001") << -1;
}

void TstQuery::locate()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(int, row);
    Db d(3000);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setRecNo(7));
    QCOMPARE(q.locate(field, value), row >= 0);
    QCOMPARE(q.recNo(), row >= 0 ? row : 7);
}

void TstQuery::appendPost()
{
    Db d(3);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setRecNo(1));
    q.append();
    QCOMPARE(q.state(), Query::State::Insert);
    QCOMPARE(q.fetchedCount(), 4);
    QVERIFY(q.value(QStringLiteral("ID")).isNull());
    q.setValue(QStringLiteral("ID_Tool"), QStringLiteral("N1"));
    q.setValue(QStringLiteral("Naim"), QStringLiteral("Ключ"));
    QCOMPARE(d.count(), 3); // nothing written before post
    q.post();

    QCOMPARE(q.state(), Query::State::Browse);
    QCOMPARE(d.count(), 4);
    const QVariant key = q.value(QStringLiteral("ID"));
    QVERIFY(!key.isNull());
    QCOMPARE(key.toLongLong(), d.db.scalar(QStringLiteral("SELECT ID FROM Tools WHERE ID_Tool = 'N1'")).toLongLong());
    // Defaults of the table are read back, not left empty.
    QCOMPARE(q.value(QStringLiteral("Passed")).toInt(), 0);
    QVERIFY(!q.value(QStringLiteral("WriteOff")).isNull());
    QVERIFY(!q.boolean(QStringLiteral("WriteOff")));
    QCOMPARE(q.text(QStringLiteral("Naim")), QStringLiteral("Ключ"));
    QVERIFY(q.value(QStringLiteral("Guarantee")).isNull());
}

void TstQuery::appendCountsOnce_data()
{
    QTest::addColumn<bool>("countedBefore");
    QTest::newRow("count known before") << true;
    QTest::newRow("count asked after") << false;
}

void TstQuery::appendCountsOnce()
{
    QFETCH(bool, countedBefore);
    Db d(3000);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    if (countedBefore)
        QCOMPARE(q.recordCount(), 3000);
    q.append();
    q.setValue(QStringLiteral("ID_Tool"), QStringLiteral("N1"));
    QCOMPARE(q.recordCount(), 3001);
    q.post();
    QCOMPARE(q.recordCount(), 3001);
    q.remove();
    QCOMPARE(q.recordCount(), 3000);
    fetchAll(q);
    QCOMPARE(q.recordCount(), 3000);
}

void TstQuery::appendThenScrollShowsEachRowOnce_data()
{
    QTest::addColumn<QString>("orderBy");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<bool>("keep");
    // Where the new row falls in the result decides which rows a naive offset repeats.
    QTest::newRow("new row sorts last") << "ID" << false << true;
    QTest::newRow("new row sorts first") << "ID" << true << true;
    QTest::newRow("desk order") << "Passed" << false << true;
    QTest::newRow("new row removed again") << "ID" << true << false;
}

void TstQuery::appendThenScrollShowsEachRowOnce()
{
    QFETCH(QString, orderBy);
    QFETCH(bool, descending);
    QFETCH(bool, keep);
    Db d(3000);
    Query q(d.db);
    q.setStatement(Select(QStringLiteral("Tools")).orderBy(orderBy, descending));
    q.open();
    q.fetchMore();
    for (int i = 0; i < 3; ++i) {
        q.append();
        q.setValue(QStringLiteral("ID_Tool"), QStringLiteral("NEW%1").arg(i));
        q.post();
        if (!keep)
            q.remove();
    }
    fetchAll(q);
    const int expected = keep ? 3003 : 3000;
    QCOMPARE(keysOf(q).size(), expected);
    QCOMPARE(q.fetchedCount(), expected);
    QCOMPARE(q.recordCount(), expected);
}

void TstQuery::editPostByKey_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("single quote") << "O'Brien's";
    QTest::newRow("double quotes") << "\"Bosch\" 12\"";
    QTest::newRow("statement inside") << "x'); DROP TABLE Tools; --";
    QTest::newRow("cyrillic") << "Ключ гаечный «рожковый» Ёж";
    QTest::newRow("wildcards") << "100% _done_";
    QTest::newRow("backslash") << "C:\\tools\\";
    QTest::newRow("question mark") << "what? ?";
    QTest::newRow("empty") << "";
}

void TstQuery::editPostByKey()
{
    QFETCH(QString, model);
    Db d(5);
    Query q(d.db);
    q.setStatement(Select(QStringLiteral("Tools")).orderBy(QStringLiteral("ID"), true));
    q.open();
    QVERIFY(q.setRecNo(1)); // ID 4: the row position is not the key
    q.edit();
    QCOMPARE(q.state(), Query::State::Edit);
    q.setValue(QStringLiteral("Model"), model);
    q.post();
    QCOMPARE(q.state(), Query::State::Browse);
    QCOMPARE(q.recNo(), 1);
    QCOMPARE(q.text(QStringLiteral("Model")), model);

    QVERIFY(d.db.hasTable(QStringLiteral("Tools")));
    QCOMPARE(d.count(), 5);
    QCOMPARE(d.db.scalar(QStringLiteral("SELECT Model FROM Tools WHERE ID = 4")).toString(), model);
    QCOMPARE(d.db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE Model = ?"), {model}).toInt(), 1);
    QCOMPARE(d.db.scalar(QStringLiteral("SELECT Model FROM Tools WHERE ID = 3")).toString(), QStringLiteral("Model 3"));
}

void TstQuery::cancel()
{
    Db d(3);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    q.append();
    q.setValue(QStringLiteral("ID_Tool"), QStringLiteral("N1"));
    q.cancel();
    QCOMPARE(q.state(), Query::State::Browse);
    QCOMPARE(q.fetchedCount(), 3);
    QCOMPARE(d.count(), 3);
    QVERIFY(q.recNo() >= 0 && q.recNo() < 3);
    QCOMPARE(keysOf(q), (QSet<qint64>{1, 2, 3}));

    QVERIFY(q.setRecNo(0));
    q.edit();
    q.setValue(QStringLiteral("Model"), QStringLiteral("changed"));
    QCOMPARE(q.text(QStringLiteral("Model")), QStringLiteral("changed"));
    q.cancel();
    QCOMPARE(q.text(QStringLiteral("Model")), QStringLiteral("Model 1"));
    QCOMPARE(d.db.scalar(QStringLiteral("SELECT Model FROM Tools WHERE ID = 1")).toString(), QStringLiteral("Model 1"));

    // Cancel of an append into an empty result leaves it empty.
    Query none(d.db);
    none.setStatement(Select(QStringLiteral("Tools")).where(QStringLiteral("ID < 0")));
    none.open();
    none.append();
    none.cancel();
    QVERIFY(none.isEmpty());
    QVERIFY(none.eof());
    QCOMPARE(none.recNo(), -1);
}

void TstQuery::remove()
{
    Db d(3);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setRecNo(1));
    q.remove();
    QCOMPARE(d.count(), 2);
    QVERIFY(d.db.scalar(QStringLiteral("SELECT ID FROM Tools WHERE ID = 2")).isNull());
    QCOMPARE(q.fetchedCount(), 2);
    QCOMPARE(q.text(QStringLiteral("ID_Tool")), QStringLiteral("T00003")); // the next row

    q.remove(); // the last row: the one before becomes current
    QCOMPARE(q.text(QStringLiteral("ID_Tool")), QStringLiteral("T00001"));
    q.remove();
    QVERIFY(q.isEmpty());
    QVERIFY(q.eof());
    QCOMPARE(q.recNo(), -1);
    QCOMPARE(d.count(), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, q.remove());
}

void TstQuery::removeThenScrollLosesNothing()
{
    Db d(3000);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setRecNo(10));
    q.remove();
    QVERIFY(q.setRecNo(200));
    q.remove();
    fetchAll(q);
    QCOMPARE(q.fetchedCount(), 2998);
    const QSet<qint64> keys = keysOf(q);
    QCOMPARE(keys.size(), 2998);
    QVERIFY(!keys.contains(11));
    QVERIFY(!keys.contains(202));
}

void TstQuery::postOnRowDeletedElsewhere_data()
{
    QTest::addColumn<bool>("changed");
    QTest::newRow("with a change") << true;
    QTest::newRow("without a change") << false;
}

void TstQuery::postOnRowDeletedElsewhere()
{
    QFETCH(bool, changed);
    Db d(5);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setRecNo(2));

    Connection other;
    other.open(d.db.description());
    other.exec(QStringLiteral("DELETE FROM Tools WHERE ID = 3"));

    q.edit();
    if (changed)
        q.setValue(QStringLiteral("Model"), QStringLiteral("lost"));
    QVERIFY_THROWS_EXCEPTION(DbError, q.post());
    QCOMPARE(q.state(), Query::State::Edit); // the user can still cancel
    QCOMPARE(d.count(), 4);                  // not written back as a new row
    q.cancel();
    QVERIFY_THROWS_EXCEPTION(DbError, q.refreshCurrent());
}

void TstQuery::readOnlyResults_data()
{
    QTest::addColumn<Select>("statement");
    QTest::addColumn<QString>("sql"); // used when no statement is described
    QTest::newRow("described without the key") << Select(QStringLiteral("Tools")).columns({"ID_Tool", "Model"}) << "";
    // Rows of a text are never written back, whatever tables it names.
    QTest::newRow("one table as text") << Select() << "SELECT * FROM Tools ORDER BY ID";
    QTest::newRow("aggregate") << Select() << "SELECT COUNT(*) AS N FROM Tools";
    QTest::newRow("join") << Select() << "SELECT t.* FROM Tools t JOIN History h ON h.ID_T = t.ID_Tool";
    QTest::newRow("two tables") << Select() << "SELECT Tools.* FROM Tools, Users";
    QTest::newRow("two aliased tables") << Select() << "SELECT * FROM Tools t, Users u";
    QTest::newRow("compound") << Select()
                              << "SELECT * FROM Tools WHERE ID = 1 UNION ALL SELECT * FROM Tools WHERE ID = 2";
}

void TstQuery::readOnlyResults()
{
    QFETCH(Select, statement);
    QFETCH(QString, sql);
    Db d(2);
    d.db.exec(QStringLiteral("INSERT INTO Users (ID_User) VALUES ('U1')"));
    d.db.exec(QStringLiteral("INSERT INTO History (ID_T) VALUES ('T00001')"));
    Query q(d.db);
    if (statement.table().isEmpty())
        q.setSql(sql);
    else
        q.setStatement(statement);
    q.open();
    QVERIFY(!q.isEmpty());
    QVERIFY_THROWS_EXCEPTION(DbError, q.append());
    QVERIFY_THROWS_EXCEPTION(DbError, q.edit());
    QVERIFY_THROWS_EXCEPTION(DbError, q.remove());
    QCOMPARE(d.count(), 2);
}

void TstQuery::statementChangedToSeveralTablesRunsTheNewOne()
{
    // The same query, opened over one table and then over two: the second
    // statement pages without a key and must not run the first one's.
    Db d(3);
    d.db.exec(QStringLiteral("INSERT INTO Users (ID_User) VALUES ('U1')"));
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QCOMPARE(q.recordCount(), 3);
    q.setSql(QStringLiteral("SELECT u.ID_User, t.ID_Tool FROM Users u, Tools t WHERE t.ID = 2"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.text(QStringLiteral("ID_User")), QStringLiteral("U1"));
    QCOMPARE(q.text(QStringLiteral("ID_Tool")),
             d.db.scalar(QStringLiteral("SELECT ID_Tool FROM Tools WHERE ID = 2")).toString());
}

namespace {

// Tools for the sort cases: models in mixed case and script, some issued.
void addSortTools(Connection& db)
{
    const struct {
        const char* code;
        const char* model;
        int passed;
    } rows[] = {
        {"T1", "beta", 0}, {"T2", "Alpha", 1}, {"T3", "гамма", 0}, {"T4", "Бета", 1}, {"T5", "alpha2", 0},
    };
    for (const auto& r : rows)
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Model, Passed) VALUES (?, ?, ?)"),
                {QString::fromUtf8(r.code), QString::fromUtf8(r.model), r.passed != 0});
}

} // namespace

void TstQuery::setSort_data()
{
    QTest::addColumn<QString>("sortText");
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("text ascending, caseless") << "Model ASC"
                                              << "Model ASC"
                                              << "Model" << QStringList{"Alpha", "alpha2", "beta", "Бета", "гамма"};
    QTest::newRow("text descending, any case") << "  model   desc "
                                               << "Model DESC"
                                               << "Model" << QStringList{"гамма", "Бета", "beta", "alpha2", "Alpha"};
    QTest::newRow("key descending") << "ID DESC"
                                    << "ID DESC"
                                    << "ID_Tool" << QStringList{"T5", "T4", "T3", "T2", "T1"};
    // The original store held true as -1: DESC listed the false rows first.
    QTest::newRow("yes/no descending") << "Passed DESC"
                                       << "Passed DESC"
                                       << "Passed" << QStringList{"0", "0", "0", "1", "1"};
    QTest::newRow("yes/no ascending") << "Passed ASC"
                                      << "Passed ASC"
                                      << "Passed" << QStringList{"1", "1", "0", "0", "0"};
}

void TstQuery::setSort()
{
    QFETCH(QString, sortText);
    QFETCH(QString, sort);
    QFETCH(QString, field);
    QFETCH(QStringList, values);
    Db d;
    addSortTools(d.db);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QSignalSpy reopened(&q, &Query::reopened);
    QVERIFY(q.setSort(sortText));
    if (d.db.dialect().isServer()) // names come back folded; a name typed in another case stays so
        QCOMPARE(q.sort().toLower(), sort.toLower());
    else
        QCOMPARE(q.sort(), sort);
    QCOMPARE(column(q, field), values);
    QCOMPARE(q.recNo(), 0);
    QCOMPARE(reopened.count(), 1);
}

void TstQuery::setSortRejects_data()
{
    QTest::addColumn<QString>("sortText");
    QTest::newRow("empty") << "";
    QTest::newRow("no direction") << "Model";
    QTest::newRow("unknown direction") << "Model UP";
    QTest::newRow("unknown field") << "Nope ASC";
    QTest::newRow("statement") << "ID; DROP TABLE Tools ASC";
    QTest::newRow("statement after") << "Model ASC; DELETE FROM Tools";
    QTest::newRow("two terms") << "Model ASC, ID DESC";
    QTest::newRow("quoted field") << "\"Model\" ASC";
    QTest::newRow("expression") << "length(Model) ASC";
}

void TstQuery::setSortRejects()
{
    QFETCH(QString, sortText);
    Db d;
    addSortTools(d.db);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setSort(QStringLiteral("ID DESC")));
    QVERIFY(q.setRecNo(2));

    QSignalSpy reopened(&q, &Query::reopened);
    QVERIFY(!q.setSort(sortText));
    QCOMPARE(q.sort(), QStringLiteral("ID DESC"));
    QCOMPARE(column(q, QStringLiteral("ID_Tool")), (QStringList{"T5", "T4", "T3", "T2", "T1"}));
    QCOMPARE(q.recNo(), 2);
    QCOMPARE(reopened.count(), 0);
    QVERIFY(d.db.hasTable(QStringLiteral("Tools")));
    QCOMPARE(d.count(), 5);
}

void TstQuery::sortAppliesAcrossPages()
{
    Db d(3000);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setSort(QStringLiteral("ID DESC")));
    QVERIFY(q.fetchedCount() < 3000);
    QCOMPARE(q.text(QStringLiteral("ID_Tool")), dbfixture::toolCode(3000));
    QVERIFY(q.setRecNo(2999));
    QCOMPARE(q.text(QStringLiteral("ID_Tool")), dbfixture::toolCode(1));
    QCOMPARE(q.recordCount(), 3000);
    QCOMPARE(keysOf(q).size(), 3000);
}

void TstQuery::designOrderListsFalseFirst()
{
    Db d;
    addSortTools(d.db);
    Query q(d.db);
    q.setStatement(Schema::toolsDesign(d.db.dialect()));
    q.open();
    QCOMPARE(column(q, QStringLiteral("Passed")), (QStringList{"0", "0", "0", "1", "1"}));
}

void TstQuery::closeDropsSort_data()
{
    QTest::addColumn<bool>("useReopen");
    QTest::newRow("close and open") << false;
    QTest::newRow("reopen") << true;
}

void TstQuery::closeDropsSort()
{
    QFETCH(bool, useReopen);
    Db d;
    addSortTools(d.db);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QVERIFY(q.setSort(QStringLiteral("Model DESC")));
    if (useReopen) {
        q.reopen();
    } else {
        q.close();
        QVERIFY(!q.isOpen());
        QVERIFY(q.sort().isEmpty());
        q.open();
    }
    QVERIFY(q.sort().isEmpty());
    QCOMPARE(column(q, QStringLiteral("ID_Tool")), (QStringList{"T1", "T2", "T3", "T4", "T5"}));
}

void TstQuery::modelFollowsFetching()
{
    Db d(3000);
    Query q(d.db);
    q.setStatement(kById);
    q.open();
    QueryModel model(q);
    // Views read the row count as each signal arrives: it must already agree.
    QList<int> seenCounts;
    const auto record = [&] { seenCounts << model.rowCount() - q.fetchedCount(); };
    connect(&model, &QAbstractItemModel::rowsInserted, this, record);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, record);
    connect(&model, &QAbstractItemModel::modelReset, this, record);
    model.setColumns({{QStringLiteral("ID_Tool"), QStringLiteral("Code"), {}},
                      {QStringLiteral("Date_Purchase"), QStringLiteral("Bought"), {}}});
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Bought"));
    QCOMPARE(model.rowCount(), q.fetchedCount());
    QVERIFY(model.rowCount() < 3000);
    QVERIFY(model.canFetchMore({}));

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const int before = model.rowCount();
    model.fetchMore({});
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), before);
    QCOMPARE(inserted.at(0).at(2).toInt(), model.rowCount() - 1);
    QCOMPARE(model.rowCount(), q.fetchedCount());

    QVERIFY(q.setRecNo(2999)); // a jump fetches too, and the model follows
    QCOMPARE(model.rowCount(), 3000);
    QVERIFY(!model.canFetchMore({}));
    QCOMPARE(model.data(model.index(2999, 0)).toString(), dbfixture::toolCode(3000));

    q.append();
    q.setValue(QStringLiteral("ID_Tool"), QStringLiteral("NEW"));
    q.post();
    QCOMPARE(model.rowCount(), 3001);
    q.remove();
    QCOMPARE(model.rowCount(), 3000);

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    q.reopen();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), q.fetchedCount());
    QVERIFY(model.rowCount() < 3000);
    QVERIFY(!seenCounts.isEmpty());
    QCOMPARE(seenCounts, QList<int>(seenCounts.size(), 0));
}

void TstQuery::modelDisplayText_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("raw");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");
    QTest::newRow("date") << "History"
                          << "ADate" << QVariant("2024-03-05") << ""
                          << "05.03.2024";
    QTest::newRow("date, own format") << "History"
                                      << "ADate" << QVariant("2024-03-05") << "yyyy/MM"
                                      << "2024/03";
    QTest::newRow("time") << "History"
                          << "ATime" << QVariant("09:05:07") << ""
                          << "09:05:07";
    QTest::newRow("time held as date-time") << "History"
                                            << "ATime" << QVariant("1899-12-30 09:05:07") << ""
                                            << "09:05:07";
    QTest::newRow("time, own format") << "History"
                                      << "ATime" << QVariant("19:05:07") << "hh:mm"
                                      << "19:05";
    QTest::newRow("date-time") << "AKTSpisaniya"
                               << "ADate" << QVariant("2024-03-05 14:30:00") << ""
                               << "05.03.2024 14:30:00";
    QTest::newRow("empty date") << "History"
                                << "ADate" << QVariant() << ""
                                << "";
    QTest::newRow("text") << "History"
                          << "FIO" << QVariant("Иванов") << ""
                          << "Иванов";
}

void TstQuery::modelDisplayText()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QVariant, raw);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    Db d;
    d.db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, field), {raw});
    Query q(d.db);
    q.setStatement(Select(table));
    q.open();
    QueryModel model(q);
    model.setColumns({{field, field, format}});
    QCOMPARE(model.data(model.index(0, 0)).toString(), shown);
}

QTEST_GUILESS_MAIN(TstQuery)
#include "tst_query.moc"
