// Pages continue after the last row read: rows another desk inserts between
// two fetches neither repeat a row nor hide one.
#include "DbFixture.h"

#include <QSet>
#include <QtTest>

Q_DECLARE_METATYPE(Select)

namespace {

struct Db {
    Db()
    {
        dbfixture::openTestDatabase(db, data, server);
        dbfixture::upgrade(db);
    }
    TestData data;
    std::unique_ptr<PgTestDatabase> server; // dropped after the connection closes
    Connection db;
};

QList<qint64> keysOf(Query& q)
{
    QList<qint64> keys;
    const int id = q.fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < q.fetchedCount(); ++row)
        keys << q.value(row, id).toLongLong();
    return keys;
}

void fetchAll(Query& q)
{
    while (q.canFetchMore())
        q.fetchMore();
}

// The order a result pages in; the engine's caseless collation shows as "/caseless".
QString termsText(const QList<OrderTerm>& terms)
{
    QStringList parts;
    for (const OrderTerm& t : terms)
        parts << t.column + (t.collation.isEmpty() ? QString() : QStringLiteral("/caseless"))
                + (t.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return parts.join(QStringLiteral(", "));
}

// Tools whose models repeat, differ in letter case and are sometimes empty,
// so the order has ties and NULLs at page boundaries.
void addTools(Connection& db, int count, int from, const QString& prefix)
{
    static const char* const models[] = {"m1", "M2", "ключ", "КЛЮЧ", "m3", "Зубило", "a0"};
    Connection::Transaction t(db);
    for (int i = from; i < from + count; ++i) {
        const QVariant model = i % 5 == 0 ? QVariant() : QVariant(QString::fromUtf8(models[i % 7]));
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Model, Passed, Date_Purchase) VALUES (?, ?, ?, ?)"),
                {prefix + QString::number(i), model, i % 3 == 0,
                 i % 4 == 0 ? QVariant() : QVariant(QDate(2020, 1, 1).addDays(i % 50).toString(Qt::ISODate))});
    }
    t.commit();
}

} // namespace

class TstPaging : public QObject
{
    Q_OBJECT

private slots:
    void orderOfStatement_data();
    void orderOfStatement();
    void journalShowsEachRowOnce();
    void toolListShowsEachRowOnce_data();
    void toolListShowsEachRowOnce();
    void conditionsStayApart();
    void lookedUpColumnPages_data();
    void lookedUpColumnPages();
    void resultWithoutKeyStillPages_data();
    void resultWithoutKeyStillPages();
    void rowPutOnTopPagesOn_data();
    void rowPutOnTopPagesOn();
};

void TstPaging::orderOfStatement_data()
{
    const QString tools = QStringLiteral("Tools");
    QTest::addColumn<Select>("statement");
    QTest::addColumn<QString>("clientSort"); // a field and its direction, as a title click gives
    QTest::addColumn<QString>("terms");      // empty: paged by offset
    QTest::newRow("journal") << Schema::history() << ""
                             << "ID DESC";
    const Select toolList = Select(tools).where(QStringLiteral("ID > ?"), {0}).orderBy(QStringLiteral("Passed"));
    QTest::newRow("tool list") << toolList << ""
                               << "Passed ASC, ID ASC";
    QTest::newRow("client sort first") << toolList << "Model DESC"
                                       << "Model/caseless DESC, Passed ASC, ID ASC";
    QTest::newRow("client sort on the key") << toolList << "ID DESC"
                                            << "ID DESC";
    QTest::newRow("client sort on an ordered column")
        << Select(tools).orderBy(QStringLiteral("Model")).orderBy(QStringLiteral("Passed")) << "Model DESC"
        << "Model/caseless DESC, Passed ASC, ID ASC";
    QTest::newRow("no order") << Select(QStringLiteral("Users")) << ""
                              << "ID ASC";
    QTest::newRow("a column ordered twice") << Select(tools)
                                                   .orderBy(QStringLiteral("Passed"), true)
                                                   .orderBy(QStringLiteral("Model"))
                                                   .orderBy(QStringLiteral("Passed"))
                                            << ""
                                            << "Passed DESC, Model ASC, ID ASC";
    QTest::newRow("terms after the key")
        << Select(tools).orderBy(QStringLiteral("ID"), true).orderBy(QStringLiteral("Model")) << ""
        << "ID DESC";
    QTest::newRow("listed columns") << Select(tools)
                                           .columns({"ID", "ID_Tool"})
                                           .where(QStringLiteral("ID > ?"), {0})
                                           .orderBy(QStringLiteral("ID_Tool"))
                                    << ""
                                    << "ID_Tool ASC, ID ASC";
    QTest::newRow("no key") << Select(tools).columns({"ID_Tool", "Model"}).orderBy(QStringLiteral("ID_Tool")) << ""
                            << "";
    QTest::newRow("order on a column not shown")
        << Select(tools).columns({"ID", "Model"}).orderBy(QStringLiteral("Passed")) << ""
        << "";
    QTest::newRow("own limit") << Schema::history().limit(10) << ""
                               << "";
    QTest::newRow("client sort on a looked-up column") << Schema::withToolColumns(Schema::history()) << "Naim DESC"
                                                       << "Naim/caseless DESC, ID DESC";
}

void TstPaging::orderOfStatement()
{
    QFETCH(Select, statement);
    QFETCH(QString, clientSort);
    QFETCH(QString, terms);
    Db d;
    Query q(d.db);
    q.setStatement(statement);
    q.open(); // whichever way it pages, the result runs on this engine
    QVERIFY(q.isOpen());
    if (!clientSort.isEmpty())
        QVERIFY(q.setSort(clientSort.section(u' ', 0, 0), clientSort.endsWith(u"DESC")));
    QCOMPARE(termsText(q.pageOrder()), terms);
}

void TstPaging::journalShowsEachRowOnce()
{
    Db d;
    {
        // Even keys only, so another desk can put rows between them.
        Connection::Transaction t(d.db);
        for (int id = 2; id <= 6000; id += 2)
            d.db.exec(QStringLiteral("INSERT INTO History (ID, ID_T) VALUES (?, ?)"), {id, dbfixture::toolCode(id)});
        // The server's key counter does not follow keys given by hand.
        const QString counter = d.db.dialect().keyCounterAfterCopy(QStringLiteral("History"), QStringLiteral("ID"));
        if (!counter.isEmpty())
            d.db.exec(counter);
        t.commit();
    }
    Query q(d.db);
    q.setStatement(Schema::history());
    q.open();
    QVERIFY(q.canFetchMore());
    const qint64 cursor = keysOf(q).constLast();

    Connection other;
    other.open(d.db.description());
    other.exec(QStringLiteral("INSERT INTO History (ID_T) VALUES ('newer 1'), ('newer 2'), ('newer 3')"));
    const QList<qint64> middle{cursor - 1, 3001, 1001, 3};
    for (qint64 id : middle)
        other.exec(QStringLiteral("INSERT INTO History (ID, ID_T) VALUES (?, 'middle')"), {id});
    const qint64 behind = cursor + 1; // between rows already shown: not in this result
    other.exec(QStringLiteral("INSERT INTO History (ID, ID_T) VALUES (?, 'behind')"), {behind});

    q.fetchMore();
    other.exec(QStringLiteral("INSERT INTO History (ID, ID_T) VALUES (1, 'late')"));
    fetchAll(q);

    const QList<qint64> keys = keysOf(q);
    QCOMPARE(QSet<qint64>(keys.begin(), keys.end()).size(), keys.size()); // no row twice
    for (int i = 1; i < keys.size(); ++i)
        QVERIFY2(keys.at(i) < keys.at(i - 1), qPrintable(QStringLiteral("row %1").arg(i)));
    QSet<qint64> expected;
    for (qint64 id = 2; id <= 6000; id += 2)
        expected.insert(id);
    for (qint64 id : middle)
        expected.insert(id);
    expected.insert(1);
    QCOMPARE(QSet<qint64>(keys.begin(), keys.end()), expected); // none skipped, none from behind
    QVERIFY(!keys.contains(behind));
    QCOMPARE(q.recordCount(), keys.size());
}

void TstPaging::toolListShowsEachRowOnce_data()
{
    QTest::addColumn<QString>("sort");
    QTest::newRow("issued first") << "";
    QTest::newRow("text ascending") << "Model ASC";
    QTest::newRow("text descending") << "Model DESC";
    QTest::newRow("yes/no descending") << "Passed DESC";
    QTest::newRow("date descending, empty dates") << "Date_Purchase DESC";
    QTest::newRow("date ascending, empty dates") << "Date_Purchase ASC";
}

void TstPaging::toolListShowsEachRowOnce()
{
    QFETCH(QString, sort);
    Db d;
    addTools(d.db, 1500, 1, QStringLiteral("T"));
    const Select toolList = Select(QStringLiteral("Tools"))
                                .where(QStringLiteral("WriteOff<>") + d.db.dialect().sqlTrue())
                                .orderBy(d.db.dialect().falseFirst(QStringLiteral("Passed")));
    Query q(d.db);
    q.setStatement(toolList);
    q.open();
    if (!sort.isEmpty())
        QVERIFY(q.setSort(sort));
    q.fetchMore();
    QVERIFY(q.canFetchMore());
    const qint64 cursor = keysOf(q).constLast();

    // Another desk adds tools of every kind: some fall among the rows shown,
    // some among those still to come. It also issues and takes back tools,
    // which moves them across the rows shown.
    Connection other;
    other.open(d.db.description());
    addTools(other, 60, 1, QStringLiteral("N"));
    const QList<qint64> shown = keysOf(q);
    QSet<qint64> moved;
    for (int i = 0; i < 5; ++i)
        moved << shown.at(i) << 1500 - i * 7;
    for (qint64 id : std::as_const(moved))
        other.exec(QStringLiteral("UPDATE Tools SET Passed = NOT Passed WHERE ID = ?"), {id});
    q.fetchMore();
    addTools(other, 30, 100, QStringLiteral("L"));
    fetchAll(q);

    // The same result read afresh gives the order; the rows added behind the
    // position read at the time of their insertion are the only ones missing.
    // A moved row shows at most once, at its old place or its new one.
    Query fresh(d.db);
    fresh.setStatement(toolList);
    fresh.open();
    if (!sort.isEmpty())
        QVERIFY(fresh.setSort(sort));
    fetchAll(fresh);
    const QList<qint64> all = keysOf(fresh);
    QCOMPARE(all.size(), 1590);
    const qint64 firstAdded = 1501, secondAdded = 1561;
    QList<qint64> expected;
    const qsizetype cursorAt = all.indexOf(cursor);
    // The second page read the next 500 rows of the result as it then was
    // (a row read again after a move is read, though not shown twice).
    qsizetype secondCursorAt = cursorAt;
    for (int read = 0; read < 500 && secondCursorAt + 1 < all.size();) {
        if (all.at(++secondCursorAt) < secondAdded)
            ++read;
    }
    for (qsizetype i = 0; i < all.size(); ++i) {
        const qint64 k = all.at(i);
        if (moved.contains(k) || (k >= firstAdded && k < secondAdded && i < cursorAt))
            continue;
        if (k >= secondAdded && i < secondCursorAt)
            continue;
        expected << k;
    }
    const QList<qint64> keys = keysOf(q);
    QCOMPARE(QSet<qint64>(keys.begin(), keys.end()).size(), keys.size());
    QList<qint64> unmoved = keys;
    unmoved.removeIf([&moved](qint64 k) { return moved.contains(k); });
    QCOMPARE(unmoved, expected);
}

void TstPaging::conditionsStayApart()
{
    Db d;
    addTools(d.db, 1500, 1, QStringLiteral("T"));
    // A condition with its own OR, another condition, and the pages' own
    // condition after them: none may take in rows of another.
    const Select issuedOrEmpty = Select(QStringLiteral("Tools"))
                                     .where(QStringLiteral("Model = ? OR Model IS NULL"), {QStringLiteral("m1")})
                                     .where(QStringLiteral("Passed = ?"), {true})
                                     .orderBy(QStringLiteral("Model"), true);
    const int expected = d.db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tools WHERE (Model = ? OR Model IS NULL) "
                                                    "AND Passed = ?"),
                                     {QStringLiteral("m1"), true})
                             .toInt();
    QVERIFY(expected > 100); // more than the first page
    Query q(d.db);
    q.setStatement(issuedOrEmpty);
    q.open();
    QVERIFY(q.canFetchMore());
    QCOMPARE(q.recordCount(), expected);
    fetchAll(q);
    const QList<qint64> keys = keysOf(q);
    QCOMPARE(QSet<qint64>(keys.begin(), keys.end()).size(), expected);
    for (q.first(); !q.eof(); q.next()) {
        QVERIFY(q.boolean(QStringLiteral("Passed")));
        QVERIFY(q.text(QStringLiteral("Model")).isEmpty() || q.text(QStringLiteral("Model")) == u"m1");
    }
}

void TstPaging::lookedUpColumnPages_data()
{
    QTest::addColumn<QString>("sort");
    QTest::newRow("newest first") << "";
    QTest::newRow("tool code ascending") << "ID_Tool ASC";
    QTest::newRow("tool code descending") << "ID_Tool DESC";
    QTest::newRow("tool name ascending") << "Naim ASC";
}

// The tool's code and name beside each journal row: found by identity, else
// by code, else none; ties and missing values fall on page boundaries, and
// pages continue in the order the engine gives for the whole result.
void TstPaging::lookedUpColumnPages()
{
    QFETCH(QString, sort);
    // Some tools were given another code since their identity was taken;
    // codes repeat in other letter case; some tools have no name; some rows
    // name no registered tool.
    auto codeOf = [](int tool) { return QLatin1String(tool % 3 == 0 ? "t" : "T") + QString::number(tool % 30); };
    auto identityOf = [&](int tool) { return tool % 2 == 0 ? QStringLiteral("OLD%1").arg(tool) : codeOf(tool); };
    auto nameOf = [](int tool) { return tool % 7 == 0 ? QString() : QStringLiteral("Name %1").arg(tool % 11); };
    auto referenceOf = [](int row) {
        return row % 5 == 0 ? QStringLiteral("none%1").arg(row % 3)
            : row % 2 == 0  ? QStringLiteral("old%1").arg(row % 90 + 1)
                            : QStringLiteral("t%1").arg(row % 30);
    };
    constexpr int kTools = 90, kRows = 1300;
    Db d;
    {
        Connection::Transaction t(d.db);
        for (int i = 1; i <= kTools; ++i)
            d.db.exec(QStringLiteral("INSERT INTO Tools (ID, ID_Tool, ID_Tool_Unique, Naim) VALUES (?, ?, ?, ?)"),
                      {i, codeOf(i), identityOf(i), nameOf(i).isEmpty() ? QVariant() : QVariant(nameOf(i))});
        for (int id = 1; id <= kRows; ++id)
            d.db.exec(QStringLiteral("INSERT INTO History (ID, ID_T) VALUES (?, ?)"), {id, referenceOf(id)});
        t.commit();
    }
    // The first tool by key whose identity matches, else the first whose
    // code does, letter case ignored.
    QHash<QString, QPair<QString, QString>> byReference;
    for (int id = 1; id <= kRows; ++id) {
        const QString reference = referenceOf(id);
        std::optional<int> found;
        for (int pass = 0; pass < 2 && !found; ++pass) {
            for (int i = 1; i <= kTools && !found; ++i) {
                if ((pass == 0 ? identityOf(i) : codeOf(i)).compare(reference, Qt::CaseInsensitive) == 0)
                    found = i;
            }
        }
        byReference.insert(reference, found ? qMakePair(codeOf(*found), nameOf(*found)) : QPair<QString, QString>());
    }

    const Select journal = Schema::withToolColumns(Schema::history());
    Query q(d.db);
    q.setStatement(journal);
    q.open();
    if (!sort.isEmpty())
        QVERIFY(q.setSort(sort));
    QVERIFY(q.canFetchMore());
    fetchAll(q);
    const QList<qint64> keys = keysOf(q);
    QCOMPARE(keys.size(), 1300);
    QCOMPARE(QSet<qint64>(keys.begin(), keys.end()).size(), keys.size());

    // The same order in one statement, with no pages.
    const SqlDialect& dialect = d.db.dialect();
    std::optional<OrderTerm> term;
    if (!sort.isEmpty())
        term = dialect.orderTerm(sort.section(u' ', 0, 0), FieldKind::Text, sort.endsWith(u"DESC"));
    QList<qint64> whole;
    {
        Statement all = d.db.run(journal.ordered(dialect, term));
        while (all->next())
            whole << all->value(0).toLongLong();
    }
    QCOMPARE(keys, whole);

    const int reference = q.fieldIndex(QStringLiteral("ID_T"));
    const int code = q.fieldIndex(QStringLiteral("ID_Tool"));
    const int name = q.fieldIndex(QStringLiteral("Naim"));
    for (int row = 0; row < q.fetchedCount(); ++row) {
        const auto expected = byReference.value(q.value(row, reference).toString());
        QCOMPARE(q.value(row, code).toString(), expected.first);
        QCOMPARE(q.value(row, name).toString(), expected.second);
    }
}

void TstPaging::resultWithoutKeyStillPages_data()
{
    QTest::addColumn<bool>("described");
    QTest::newRow("described") << true;
    QTest::newRow("text") << false;
}

void TstPaging::resultWithoutKeyStillPages()
{
    QFETCH(bool, described);
    Db d;
    dbfixture::addTools(d.db, 1200);
    Query q(d.db);
    if (described)
        q.setStatement(
            Select(QStringLiteral("Tools")).columns({"ID_Tool", "Model"}).orderBy(QStringLiteral("ID_Tool"), true));
    else
        q.setSql(QStringLiteral("SELECT ID_Tool, Model FROM Tools ORDER BY ID_Tool DESC"));
    q.open();
    QVERIFY(q.pageOrder().isEmpty());
    QVERIFY(q.canFetchMore());
    fetchAll(q);
    QCOMPARE(q.fetchedCount(), 1200);
    QCOMPARE(q.value(0, 0).toString(), dbfixture::toolCode(1200));
    QCOMPARE(q.value(1199, 0).toString(), dbfixture::toolCode(1));
}

void TstPaging::rowPutOnTopPagesOn_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("paged by key") << true;
    QTest::newRow("paged by offset") << false;
}

// A row written here and put on top of a result that has not read all its
// rows yet: the later pages bring every other row once.
void TstPaging::rowPutOnTopPagesOn()
{
    QFETCH(bool, byKey);
    Db d;
    {
        Connection::Transaction t(d.db);
        for (int i = 1; i <= 100; ++i)
            d.db.exec(QStringLiteral("INSERT INTO History (ID_T) VALUES (?)"), {dbfixture::toolCode(i)});
        t.commit();
    }
    Query q(d.db);
    if (byKey)
        q.setStatement(Schema::history());
    else
        q.setSql(QStringLiteral("SELECT * FROM History ORDER BY ID DESC"));
    q.open();
    QCOMPARE(q.pageOrder().isEmpty(), !byKey);
    QVERIFY(q.canFetchMore());
    QCOMPARE(q.recordCount(), 100);
    q.setRecNo(3);

    d.db.exec(QStringLiteral("INSERT INTO History (ID_T) VALUES ('new')"));
    q.insertOnTop({{QStringLiteral("id"), 101}, {QStringLiteral("ID_T"), QStringLiteral("new")}});
    QCOMPARE(q.recNo(), 0);
    QCOMPARE(q.text(QStringLiteral("ID_T")), QStringLiteral("new"));
    QCOMPARE(q.recordCount(), 101);
    fetchAll(q);
    QList<qint64> expected;
    for (qint64 id = 101; id >= 1; --id)
        expected << id;
    QCOMPARE(keysOf(q), expected);
}

QTEST_GUILESS_MAIN(TstPaging)
#include "tst_paging.moc"
