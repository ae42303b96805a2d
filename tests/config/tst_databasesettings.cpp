// Which database the settings file names, what the settings page shows of
// it, and a start on a server that refuses.
#include "config/TfmSettings.h"
#include "core/DatabaseSettings.h"
#include "core/IniFile.h"
#include "data/DbError.h"
#include "support/DeskFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestDatabaseSettings : public QObject
{
    Q_OBJECT
private slots:
    void section_data();
    void section();
    void settingsPageShowsTheDatabase();
    void unreachableServerEndsTheStart();
};

void TestDatabaseSettings::section_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("described"); // displayName, or the fault's words
    QTest::newRow("no section") << "[MAIN]\nLanguage=RU\n" << false << "/x/Data/DB.mdb";
    QTest::newRow("engine sqlite") << "[DATABASE]\nEngine=SQLite\nName=ignored\n" << false << "/x/Data/DB.mdb";
    QTest::newRow("server")
        << "[DATABASE]\nEngine=PostgreSQL\nHost=db.store.local\nPort=5433\nName=tools\nUser=desk1\nSSLMode=Require\n"
        << true << "desk1@db.store.local:5433/tools";
    QTest::newRow("server, defaults") << "[database]\nengine=postgresql\nName=tools\n"
                                      << true << "@localhost:5432/tools";
    QTest::newRow("unknown engine") << "[DATABASE]\nEngine=Access\nName=tools\n" << false << "Engine=Access";
    QTest::newRow("no name") << "[DATABASE]\nEngine=PostgreSQL\nHost=h\n" << false << "Name";
    QTest::newRow("bad port") << "[DATABASE]\nEngine=PostgreSQL\nName=t\nPort=70000\n" << false << "Port=70000";
    QTest::newRow("bad sslmode") << "[DATABASE]\nEngine=PostgreSQL\nName=t\nSSLMode=maybe\n" << false << "SSLMode";
    QTest::newRow("option smuggled in a name") << "[DATABASE]\nEngine=PostgreSQL\nName=t password=x\nUser=u\n"
                                               << false << "may not hold";
}

void TestDatabaseSettings::section()
{
    QFETCH(QString, ini);
    QFETCH(bool, server);
    QFETCH(QString, described);
    TestData data;
    data.writeIni(ini);
    const bool fault = !described.contains(u'/');
    try {
        const ConnectionDescription d = DatabaseSettings::read(data.iniPath(), QStringLiteral("/x/Data/DB.mdb"));
        QVERIFY2(!fault, "a bad section was accepted");
        QCOMPARE(d.isServer(), server);
        QCOMPARE(d.displayName(), described);
        if (server && d.host == u"db.store.local")
            QCOMPARE(d.sslMode, QStringLiteral("require"));
    } catch (const DbError& e) {
        QVERIFY2(fault, qPrintable(e.text()));
        QVERIFY2(e.text().contains(described), qPrintable(e.text()));
        QVERIFY(e.text().contains(data.iniPath()));
    }
}

void TestDatabaseSettings::settingsPageShowsTheDatabase()
{
    DeskFixture f;
    QVERIFY(f.started());
    const auto* shown = f.control<QLabel>("TfmSettings", "lbDatabase");
    const auto* backup = f.control<QPushButton>("TfmSettings", "btBackup");
    if (f.server()) {
        // The empty server database was laid out after one question, as an upgrade asks.
        QCOMPARE(f.startupShown.size(), 2); // the question and the sign-in
        QCOMPARE(f.startupShown.first().kind, QStringLiteral("message"));
        QVERIFY(f.startupShown.first().text.startsWith(QStringLiteral("Для начала реконструкции БД")));
        QVERIFY2(shown->text().startsWith(u"PostgreSQL: "), qPrintable(shown->text()));
        QVERIFY(shown->text().contains(f.server()->name()));
        QVERIFY(!backup->isEnabled());
    } else {
        QCOMPARE(shown->text(), QStringLiteral("SQLite: ") + f.data().dbPath());
        QVERIFY(backup->isEnabled());
    }
}

void TestDatabaseSettings::unreachableServerEndsTheStart()
{
    PgTestDatabase pg; // the server that is there, asked for a database that is not
    TestData data;
    data.writeIni(data.readIni()
                  + QStringLiteral("\n[DATABASE]\nEngine=PostgreSQL\nHost=%1\nName=missing_db\nUser=nobody_here\n")
                        .arg(PgTestDatabase::host()));
    QVERIFY(IniFile(data.iniPath()).write(QStringLiteral("MAIN"), QStringLiteral("Lenguage"), QStringLiteral("EN")));
    ProgramRun run(data.folder());
    QVERIFY(!run.started);
    const QStringList errors = run.fakes.dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    for (const QString& part : {PgTestDatabase::host(), QStringLiteral("missing_db"), QStringLiteral("nobody_here")})
        QVERIFY2(errors.first().contains(part), qPrintable(errors.first()));
    QVERIFY2(errors.first().startsWith(u"The database server cannot be reached"), qPrintable(errors.first()));
    QCOMPARE(run.fakes.dialogs.texts("modal").size(), 0); // no sign-in: the program ends
}

QTEST_MAIN(TestDatabaseSettings)
#include "tst_databasesettings.moc"
