#include "DbFixture.h"
#include "data/DbError.h"
#include "data/SqliteFunctions.h"

#include <QSqlError>
#include <QtTest>

class TstSqliteFunctions : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void like_data();
    void like();

    void equalsOnCaselessColumn_data();
    void equalsOnCaselessColumn();
    void likeInSql_data();
    void likeInSql();
    void likeWithNullIsNull();
    void likeRejectsLongEscape();
    void orderByIsCaseless();
    void everyConnectionGetsTheRules();

private:
    static int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
    static void addUsers(Connection& db, const QStringList& names);
};

void TstSqliteFunctions::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("ascii same") << "abc"
                                << "abc" << 0;
    QTest::newRow("ascii case") << "abc"
                                << "ABC" << 0;
    QTest::newRow("ascii less") << "abc"
                                << "ABD" << -1;
    QTest::newRow("ascii case beats code order") << "Z"
                                                 << "a" << 1; // binary order says 'Z' < 'a'
    QTest::newRow("prefix is less") << "ab"
                                    << "ABC" << -1;
    QTest::newRow("both empty") << ""
                                << "" << 0;
    QTest::newRow("empty is less") << ""
                                   << "a" << -1;
    QTest::newRow("cyrillic case") << "Иван"
                                   << "иван" << 0;
    QTest::newRow("cyrillic upper") << "ИВАН ПЕТРОВ"
                                    << "иван петров" << 0;
    QTest::newRow("yo case") << "Ёлкин"
                             << "ёлкин" << 0;
    QTest::newRow("yo is not ye") << "Ёлкин"
                                  << "Елкин" << 1;
    QTest::newRow("cyrillic case beats code order") << "Я"
                                                    << "а" << 1; // 'Я' U+042F < 'а' U+0430
    QTest::newRow("cyrillic less") << "абв"
                                   << "АБГ" << -1;
    QTest::newRow("cyrillic prefix") << "Петров"
                                     << "ПЕТРОВА" << -1;
    QTest::newRow("mixed scripts") << "Tool-Ключ 5"
                                   << "tool-КЛЮЧ 5" << 0;
    QTest::newRow("latin before cyrillic") << "z"
                                           << "А" << -1;
    QTest::newRow("ascii vs cyrillic prefix") << "ab"
                                              << "abЖ" << -1;
}

void TstSqliteFunctions::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    QCOMPARE(sign(caselessCompare(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()))), expected);
    // A collation must be antisymmetric or SQLite's sorts and indexes go wrong.
    QCOMPARE(sign(caselessCompare(ub.constData(), int(ub.size()), ua.constData(), int(ua.size()))), -expected);
}

void TstSqliteFunctions::like_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escape"); // empty: none
    QTest::addColumn<bool>("expected");

    QTest::newRow("ascii exact caseless") << "abc"
                                          << "ABC"
                                          << "" << true;
    QTest::newRow("ascii differs") << "abc"
                                   << "abd"
                                   << "" << false;
    QTest::newRow("trailing percent") << "a%"
                                      << "ABC"
                                      << "" << true;
    QTest::newRow("inner percent") << "%b%"
                                   << "ABC"
                                   << "" << true;
    QTest::newRow("underscore") << "a_c"
                                << "AbC"
                                << "" << true;
    QTest::newRow("underscore is one char") << "a_c"
                                            << "abbc"
                                            << "" << false;
    QTest::newRow("several percents in order") << "a%b%c"
                                               << "aXXbYYc"
                                               << "" << true;
    QTest::newRow("several percents out of order") << "a%b%c"
                                                   << "aXXcYYb"
                                                   << "" << false;
    QTest::newRow("backtracking") << "%ab"
                                  << "aab"
                                  << "" << true;
    QTest::newRow("cyrillic exact caseless") << "иван"
                                             << "ИВАН"
                                             << "" << true;
    QTest::newRow("cyrillic inner") << "%ван%"
                                    << "ИВАН"
                                    << "" << true;
    QTest::newRow("cyrillic mixed case") << "%вАн%"
                                         << "иВаНов"
                                         << "" << true;
    QTest::newRow("cyrillic no match") << "%петр%"
                                       << "ИВАН"
                                       << "" << false;
    QTest::newRow("yo caseless") << "ёж%"
                                 << "ЁЖИК"
                                 << "" << true;
    QTest::newRow("yo is not ye") << "еж%"
                                  << "ЁЖИК"
                                  << "" << false;
    QTest::newRow("underscore on cyrillic") << "_ван"
                                            << "Иван"
                                            << "" << true;
    QTest::newRow("underscores count letters not bytes") << "___"
                                                         << "Иван"
                                                         << "" << false;
    QTest::newRow("mixed scripts") << "tool-к%"
                                   << "TOOL-Ключ"
                                   << "" << true;
    QTest::newRow("empty both") << ""
                                << ""
                                << "" << true;
    QTest::newRow("empty pattern") << ""
                                   << "a"
                                   << "" << false;
    QTest::newRow("percent on empty") << "%"
                                      << ""
                                      << "" << true;
    QTest::newRow("underscore on empty") << "_"
                                         << ""
                                         << "" << false;
    QTest::newRow("double percent") << "%%"
                                    << "x"
                                    << "" << true;
    QTest::newRow("escaped percent") << "100\\%"
                                     << "100%"
                                     << "\\" << true;
    QTest::newRow("escaped percent is literal") << "100\\%"
                                                << "1000"
                                                << "\\" << false;
    QTest::newRow("escaped underscore") << "a\\_c"
                                        << "a_c"
                                        << "\\" << true;
    QTest::newRow("escaped underscore is literal") << "a\\_c"
                                                   << "abc"
                                                   << "\\" << false;
    QTest::newRow("escape inside wildcards") << "%5\\%%"
                                             << "скидка 5% сегодня"
                                             << "\\" << true;
    QTest::newRow("escape inside wildcards no match") << "%5\\%%"
                                                      << "скидка 50 сегодня"
                                                      << "\\" << false;
    QTest::newRow("escape char itself") << "a\\\\b"
                                        << "a\\b"
                                        << "\\" << true;
    QTest::newRow("backslash without escape") << "a\\%"
                                              << "a\\xyz"
                                              << "" << true;
    QTest::newRow("letter escape") << "aX%"
                                   << "a%"
                                   << "X" << true;
    QTest::newRow("letter escape is literal") << "aX%"
                                              << "abc"
                                              << "X" << false;
    QTest::newRow("other case of escape letter") << "ax%"
                                                 << "AX123"
                                                 << "X" << true;
    QTest::newRow("cyrillic escape") << "Ж%%"
                                     << "%ab"
                                     << "Ж" << true;
}

void TstSqliteFunctions::like()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(QString, escape);
    QFETCH(bool, expected);
    const char32_t esc = escape.isEmpty() ? 0 : escape.toUcs4().at(0);
    QCOMPARE(caselessLike(pattern.toUtf8().constData(), text.toUtf8().constData(), esc), expected);
}

void TstSqliteFunctions::addUsers(Connection& db, const QStringList& names)
{
    for (const QString& n : names)
        db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO) VALUES (?, ?)"), {n.left(16), n});
}

void TstSqliteFunctions::equalsOnCaselessColumn_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("expected");

    QTest::newRow("lower finds title case") << "Users"
                                            << "FIO"
                                            << "иван" << 2;
    QTest::newRow("upper finds both") << "Users"
                                      << "FIO"
                                      << "ИВАН" << 2;
    QTest::newRow("mixed case") << "Users"
                                << "FIO"
                                << "иВаН" << 2;
    QTest::newRow("yo") << "Users"
                        << "FIO"
                        << "ЁЛКИН" << 1;
    QTest::newRow("ye does not find yo") << "Users"
                                         << "FIO"
                                         << "елкин" << 0;
    QTest::newRow("no partial match") << "Users"
                                      << "FIO"
                                      << "ива" << 0;
    QTest::newRow("code with a cyrillic letter") << "Tools"
                                                 << "ID_Tool"
                                                 << "ab-12ж" << 1;
    QTest::newRow("ascii code") << "Tools"
                                << "ID_Tool"
                                << "ab-13" << 1;
    QTest::newRow("ascii code is not a cyrillic one") << "Tools"
                                                      << "ID_Tool"
                                                      << "ab-12" << 0;
}

void TstSqliteFunctions::equalsOnCaselessColumn()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, wanted);
    QFETCH(int, expected);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    addUsers(db, {QStringLiteral("Иван"), QStringLiteral("ИВАН"), QStringLiteral("Ёлкин"), QStringLiteral("Пётр")});
    db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool) VALUES (?), (?)"),
            {QStringLiteral("AB-12Ж"), QStringLiteral("AB-13")});
    const QString sql =
        QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, db.dialect().caselessEquals(column, wanted));
    QCOMPARE(db.scalar(sql, {wanted}).toInt(), expected);
}

void TstSqliteFunctions::likeInSql_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QVariantList>("params");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("inner cyrillic") << "FIO LIKE ?" << QVariantList{"%ван%"} << QStringList{"ИВАН", "Иванов Пётр"};
    QTest::newRow("prefix upper") << "FIO LIKE ?" << QVariantList{"ИВАНОВ%"} << QStringList{"Иванов Пётр"};
    QTest::newRow("yo inside") << "FIO LIKE ?" << QVariantList{"%ПЁТР"} << QStringList{"Иванов Пётр"};
    QTest::newRow("ascii") << "FIO LIKE ?" << QVariantList{"%SMITH%"} << QStringList{"john smith"};
    QTest::newRow("escape") << "FIO LIKE ? ESCAPE ?" << QVariantList{"%\\_%", "\\"} << QStringList{"under_score"};
    QTest::newRow("not like") << "FIO NOT LIKE ?" << QVariantList{"%в%"} << QStringList{"john smith", "under_score"};
}

void TstSqliteFunctions::likeInSql()
{
    QFETCH(QString, where);
    QFETCH(QVariantList, params);
    QFETCH(QStringList, expected);
    TestData data;
    Connection db;
    db.open(data.dbPath());
    addUsers(db,
             {QStringLiteral("ИВАН"), QStringLiteral("Иванов Пётр"), QStringLiteral("john smith"),
              QStringLiteral("under_score")});
    QSqlQuery q(db.database());
    QVERIFY(q.prepare(QStringLiteral("SELECT FIO FROM Users WHERE %1 ORDER BY ID").arg(where)));
    for (const QVariant& p : params)
        q.addBindValue(p);
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    QCOMPARE(found, expected);
}

void TstSqliteFunctions::likeWithNullIsNull()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    for (const char* sql : {"SELECT NULL LIKE 'a'", "SELECT 'a' LIKE NULL", "SELECT 'a' LIKE 'a' ESCAPE NULL"}) {
        try {
            QVERIFY2(db.scalar(QString::fromLatin1(sql)).isNull(), sql);
        } catch (const DbError& e) {
            QFAIL(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(sql), e.text())));
        }
    }
}

void TstSqliteFunctions::likeRejectsLongEscape()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    QVERIFY_THROWS_EXCEPTION(DbError, db.scalar(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE 'ab'")));
}

void TstSqliteFunctions::orderByIsCaseless()
{
    TestData data;
    Connection db;
    db.open(data.dbPath());
    addUsers(db,
             {QStringLiteral("zoe"), QStringLiteral("Anna"), QStringLiteral("Яков"), QStringLiteral("борис"),
              QStringLiteral("Иван"), QStringLiteral("BEN")});
    QSqlQuery q(db.database());
    QVERIFY(q.exec(QStringLiteral("SELECT FIO FROM Users ORDER BY ")
                   + orderText(db.dialect(), {db.dialect().orderTerm(QStringLiteral("FIO"), FieldKind::Text, false)})));
    QStringList order;
    while (q.next())
        order << q.value(0).toString();
    QCOMPARE(order, (QStringList{"Anna", "BEN", "zoe", "борис", "Иван", "Яков"}));
}

void TstSqliteFunctions::everyConnectionGetsTheRules()
{
    TestData data;
    Connection first;
    first.open(data.dbPath());
    addUsers(first, {QStringLiteral("Иван")});
    Connection second;
    second.open(data.dbPath());
    const QString byName = QStringLiteral("SELECT COUNT(*) FROM Users WHERE ")
        + second.dialect().caselessEquals(QStringLiteral("FIO"), QStringLiteral("ИВАН"));
    QCOMPARE(second.scalar(byName, {"ИВАН"}).toInt(), 1);
    QCOMPARE(second.scalar(QStringLiteral("SELECT COUNT(*) FROM Users WHERE FIO LIKE ?"), {"%ВАН"}).toInt(), 1);
}

QTEST_GUILESS_MAIN(TstSqliteFunctions)
#include "tst_sqlitefunctions.moc"
