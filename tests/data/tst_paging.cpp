// Pages continue after the last row read: rows another desk inserts between
// two fetches neither repeat a row nor hide one.
#include "DbFixture.h"
#include "data/KeysetOrder.h"

#include <QSet>
#include <QtTest>

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

QString termsText(const KeysetOrder& order)
{
    QStringList parts;
    for (const KeysetOrder::Term& t : order.terms())
        parts << t.column + (t.collation.isEmpty() ? QString() : u'/' + t.collation)
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
    void resultWithoutKeyStillPages();
};

void TstPaging::orderOfStatement_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("clientOrder");
    QTest::addColumn<QString>("terms"); // empty: paged by offset
    QTest::newRow("journal") << "SELECT * FROM History ORDER BY ID DESC"
                             << ""
                             << "ID DESC";
    QTest::newRow("tool list") << "SELECT * FROM Tools WHERE WriteOff<>1 ORDER BY \"Passed\" ASC"
                               << ""
                               << "Passed ASC, ID ASC";
    QTest::newRow("client sort first") << "SELECT * FROM Tools WHERE WriteOff<>1 ORDER BY \"Passed\" ASC"
                                       << "\"Model\" COLLATE UNOCASE DESC"
                                       << "Model/UNOCASE DESC, Passed ASC, ID ASC";
    QTest::newRow("client sort on the key") << "SELECT * FROM Tools ORDER BY Passed"
                                            << "\"ID\" DESC"
                                            << "ID DESC";
    QTest::newRow("no order") << "SELECT * FROM Users"
                              << ""
                              << "ID ASC";
    QTest::newRow("bracketed names") << "SELECT [Tools].* FROM [Tools] ORDER BY [passed] DESC, Model"
                                     << ""
                                     << "passed DESC, Model ASC, ID ASC";
    QTest::newRow("listed columns") << "SELECT ID, ID_Tool FROM Tools WHERE ID > ? ORDER BY ID_Tool"
                                    << ""
                                    << "ID_Tool ASC, ID ASC";
    QTest::newRow("order in a subquery only")
        << "SELECT * FROM Tools WHERE ID IN (SELECT ID FROM Tools ORDER BY Model LIMIT 3)"
        << ""
        << "ID ASC";
    QTest::newRow("aggregate") << "SELECT COUNT(*) AS N FROM Tools"
                               << ""
                               << "";
    QTest::newRow("no key") << "SELECT ID_Tool, Model FROM Tools ORDER BY ID_Tool"
                            << ""
                            << "";
    QTest::newRow("another column as the key") << "SELECT ID_T AS ID FROM History"
                                               << ""
                                               << "";
    QTest::newRow("join") << "SELECT t.* FROM Tools t JOIN History h ON h.ID_T = t.ID_Tool"
                          << ""
                          << "";
    QTest::newRow("order on an expression") << "SELECT * FROM Tools ORDER BY length(Model)"
                                            << ""
                                            << "";
    QTest::newRow("order on a column not shown") << "SELECT ID, Model FROM Tools ORDER BY Passed"
                                                 << ""
                                                 << "";
    QTest::newRow("own limit") << "SELECT * FROM History ORDER BY ID DESC LIMIT 10"
                               << ""
                               << "";
    QTest::newRow("compound") << "SELECT * FROM Tools WHERE ID = 1 UNION ALL SELECT * FROM Tools WHERE ID = 2"
                              << ""
                              << "";
}

void TstPaging::orderOfStatement()
{
    QFETCH(QString, sql);
    QFETCH(QString, clientOrder);
    QFETCH(QString, terms);
    Db d;
    const QString table = sql.contains(u"History") && !sql.contains(u"JOIN") ? QStringLiteral("History")
        : sql.contains(u"Users")                                             ? QStringLiteral("Users")
                                                                             : QStringLiteral("Tools");
    const QStringList columns = dbfixture::columnNames(d.db, table);
    const auto order = KeysetOrder::of(sql, clientOrder, table, columns, QStringLiteral("ID"), d.db.dialect());
    // Query takes the table only from a single-table statement.
    const bool single = !sql.contains(u"JOIN") && !sql.contains(u"UNION");
    const auto asQuery = single ? order : std::nullopt;
    QCOMPARE(asQuery ? termsText(*asQuery) : QString(), terms);

    // Whichever way it pages, the result runs (the statements are the
    // file's: its brackets, its collation).
    if (d.db.dialect().isServer())
        QSKIP("the statements are written for the SQLite file (brackets, UNOCASE); the order above was checked");
    Query q(d.db);
    q.setSql(sql, sql.contains(u'?') ? QVariantList{0} : QVariantList{});
    q.open();
    QVERIFY(q.isOpen());
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
    q.setSql(Schema::historySql());
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
    const QString sql = QStringLiteral("SELECT * FROM Tools WHERE WriteOff<>%1 ORDER BY %2")
                            .arg(d.db.dialect().sqlTrue(), d.db.dialect().falseFirst(QStringLiteral("Passed")));
    Query q(d.db);
    q.setSql(sql);
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
    fresh.setSql(sql);
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

void TstPaging::resultWithoutKeyStillPages()
{
    Db d;
    dbfixture::addTools(d.db, 1200);
    Query q(d.db);
    q.setSql(QStringLiteral("SELECT ID_Tool, Model FROM Tools ORDER BY ID_Tool DESC"));
    q.open();
    QVERIFY(q.canFetchMore());
    fetchAll(q);
    QCOMPARE(q.fetchedCount(), 1200);
    QCOMPARE(q.value(0, 0).toString(), dbfixture::toolCode(1200));
    QCOMPARE(q.value(1199, 0).toString(), dbfixture::toolCode(1));
}

QTEST_GUILESS_MAIN(TstPaging)
#include "tst_paging.moc"
