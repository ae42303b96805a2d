// A grid binds its model only when first shown; what was set on it before
// must hold once it is on screen, and the current row must be the one the
// window meant.
#include "data/Connection.h"
#include "data/Query.h"
#include "data/QueryModel.h"
#include "support/TestData.h"
#include "widgets/DbGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QtTest>

namespace {

struct GridOnThreeRows {
    GridOnThreeRows()
        : query(db)
    {
        db.open(data.dbPath());
        for (const char* code : {"U1", "U2", "U3"})
            db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO) VALUES (?, ?)"),
                    {QString::fromLatin1(code), QStringLiteral("Иванов")});
        query.setStatement(Select(QStringLiteral("Users")).orderBy(QStringLiteral("ID_User")));
        model = new QueryModel(query, &window);
        model->setColumns({{QStringLiteral("ID_User"), QStringLiteral("Code"), {}},
                           {QStringLiteral("FIO"), QStringLiteral("Name"), {}},
                           {QStringLiteral("Phone"), QStringLiteral("Phone"), {}}});
        grid = new DbGrid(&window);
        grid->setQueryModel(model);
    }
    TestData data;
    Connection db;
    Query query;
    QWidget window;
    QueryModel* model = nullptr;
    DbGrid* grid = nullptr;
};

} // namespace

class TestDbGrid : public QObject
{
    Q_OBJECT
private slots:
    void boundOnFirstShow();
    void columnSettingsKeptUntilShown();
    void currentRowAtFirstShow_data();
    void currentRowAtFirstShow();
    void chosenRowMovesQuery();
};

void TestDbGrid::boundOnFirstShow()
{
    GridOnThreeRows g;
    g.query.open();
    QVERIFY(!g.grid->modelBound());
    QVERIFY(!g.grid->model());
    QCOMPARE(g.grid->queryModel(), g.model);
    g.window.show();
    QVERIFY(g.grid->modelBound());
    QCOMPARE(g.grid->model(), g.model);
    QCOMPARE(g.grid->model()->rowCount(), 3);
}

void TestDbGrid::columnSettingsKeptUntilShown()
{
    GridOnThreeRows g;
    g.query.open();
    g.grid->setColumnWidth(0, 77);
    g.grid->setColumnWidth(2, 55);
    g.grid->setColumnHidden(1, true);
    g.grid->setColumnHidden(2, true);
    g.grid->setColumnHidden(2, false);
    QCOMPARE(g.grid->columnWidth(0), 77);
    QVERIFY(g.grid->isColumnHidden(1));
    QVERIFY(!g.grid->isColumnHidden(2));
    QCOMPARE(g.grid->columnTitles(), QStringLiteral("Code, Phone"));

    g.window.show();
    QCOMPARE(g.grid->horizontalHeader()->sectionSize(0), 77);
    QCOMPARE(g.grid->horizontalHeader()->sectionSize(2), 55);
    QVERIFY(g.grid->horizontalHeader()->isSectionHidden(1));
    QVERIFY(!g.grid->horizontalHeader()->isSectionHidden(2));

    g.grid->setColumnWidth(2, 33); // once bound, straight to the view
    QCOMPARE(g.grid->horizontalHeader()->sectionSize(2), 33);
}

void TestDbGrid::currentRowAtFirstShow_data()
{
    QTest::addColumn<bool>("clearedBeforeShow");
    QTest::addColumn<bool>("queryMovedAfterClearing");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("the query's row") << false << false << 1;
    QTest::newRow("cleared: none") << true << false << -1;
    QTest::newRow("cleared, then moved: the query's row") << true << true << 2;
}

void TestDbGrid::currentRowAtFirstShow()
{
    QFETCH(bool, clearedBeforeShow);
    QFETCH(bool, queryMovedAfterClearing);
    QFETCH(int, expectedRow);
    GridOnThreeRows g;
    g.query.open();
    g.query.setRecNo(1);
    if (clearedBeforeShow)
        g.grid->clearCurrentRow();
    if (queryMovedAfterClearing)
        g.query.setRecNo(2);
    QSignalSpy rows(g.grid, &DbGrid::currentRowChanged);
    g.window.show();
    QCOMPARE(g.grid->currentIndex().row(), expectedRow);
    QCOMPARE(g.grid->selectionModel()->selectedRows().isEmpty(), expectedRow < 0);
    QCOMPARE(rows.isEmpty(), expectedRow < 0);
}

void TestDbGrid::chosenRowMovesQuery()
{
    GridOnThreeRows g;
    g.query.open();
    g.window.show();
    QSignalSpy rows(g.grid, &DbGrid::currentRowChanged);
    g.grid->setCurrentIndex(g.model->index(2, 1));
    QCOMPARE(g.query.recNo(), 2);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().first().toInt(), 2);
    // The query already there when the signal arrives, for a window reading it.
    g.grid->clearCurrentRow();
    QCOMPARE(g.grid->currentIndex().row(), -1);
    QCOMPARE(rows.last().first().toInt(), -1);
    QCOMPARE(g.query.recNo(), 2);
}

QTEST_MAIN(TestDbGrid)
#include "tst_dbgrid.moc"
