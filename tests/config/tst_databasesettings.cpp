// Which database the settings file names, what the settings page shows of
// it, and a start on a server that refuses.
#include "config/TfmSettings.h"
#include "core/DatabaseSettings.h"
#include "core/FailureText.h"
#include "core/IniFile.h"
#include "data/Connection.h"
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
    void serverRefusalsAreTold_data();
    void serverRefusalsAreTold();
};

namespace {

// A message text by its name, in one language.
QString messageText(const char* name, bool russian)
{
    Messages texts;
    setMessages(texts, russian);
    for (const MessageText& m : messageTexts()) {
        if (qstrcmp(m.name, name) == 0)
            return texts.*(m.field);
    }
    qFatal("no message %s", name);
}

} // namespace

void TestDatabaseSettings::section_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("described"); // displayName, or the setting at fault as written
    QTest::addColumn<QString>("sentence");  // the message that tells the fault
    QTest::newRow("no section") << "[MAIN]\nLanguage=RU\n"
                                << false << "/x/Data/DB.mdb"
                                << "";
    QTest::newRow("engine sqlite") << "[DATABASE]\nEngine=SQLite\nName=ignored\n"
                                   << false << "/x/Data/DB.mdb"
                                   << "";
    QTest::newRow("server")
        << "[DATABASE]\nEngine=PostgreSQL\nHost=db.store.local\nPort=5433\nName=tools\nUser=desk1\nSSLMode=Require\n"
        << true << "desk1@db.store.local:5433/tools"
        << "";
    QTest::newRow("server, defaults") << "[database]\nengine=postgresql\nName=tools\n"
                                      << true << "@localhost:5432/tools"
                                      << "";
    QTest::newRow("unknown engine") << "[DATABASE]\nEngine=Access\nName=tools\n"
                                    << false << "Engine=Access"
                                    << "rsDbSettingEngine";
    QTest::newRow("no name") << "[DATABASE]\nEngine=PostgreSQL\nHost=h\n"
                             << false << "Name="
                             << "rsDbSettingName";
    QTest::newRow("bad port") << "[DATABASE]\nEngine=PostgreSQL\nName=t\nPort=abc\n"
                              << false << "Port=abc"
                              << "rsDbSettingPort";
    QTest::newRow("port out of range") << "[DATABASE]\nEngine=PostgreSQL\nName=t\nPort=70000\n"
                                       << false << "Port=70000"
                                       << "rsDbSettingPort";
    QTest::newRow("bad sslmode") << "[DATABASE]\nEngine=PostgreSQL\nName=t\nSSLMode=maybe\n"
                                 << false << "SSLMode=maybe"
                                 << "rsDbSettingSslMode";
    QTest::newRow("option smuggled in a name") << "[DATABASE]\nEngine=PostgreSQL\nName=t password=x\nUser=u\n"
                                               << false << "Name=t password=x"
                                               << "rsDbSettingCharacters";
    QTest::newRow("option smuggled in a host") << "[DATABASE]\nEngine=PostgreSQL\nName=t\nHost=h;sslmode=disable\n"
                                               << false << "Host=h;sslmode=disable"
                                               << "rsDbSettingCharacters";
}

void TestDatabaseSettings::section()
{
    QFETCH(QString, ini);
    QFETCH(bool, server);
    QFETCH(QString, described);
    QFETCH(QString, sentence);
    TestData data;
    data.writeIni(ini);
    const bool fault = !sentence.isEmpty();
    try {
        const ConnectionDescription d = DatabaseSettings::read(data.iniPath(), QStringLiteral("/x/Data/DB.mdb"));
        QVERIFY2(!fault, "a bad section was accepted");
        QCOMPARE(d.isServer(), server);
        QCOMPARE(d.displayName(), described);
        if (server && d.host == u"db.store.local")
            QCOMPARE(d.sslMode, QStringLiteral("require"));
    } catch (const DbError& e) {
        QVERIFY2(fault, qPrintable(e.text()));
        QCOMPARE(e.cause(), DbError::Cause::BadSetting);
        QVERIFY(e.text().contains(data.iniPath()));
        // Told in the interface language: the file, the line and how to mend it.
        for (bool russian : {true, false}) {
            Messages texts;
            setMessages(texts, russian);
            const QString shown = openFailureText(e, texts);
            const QString expected = messageText(qPrintable(sentence), russian).arg(data.iniPath(), described);
            QCOMPARE(shown, expected);
        }
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
    QCOMPARE(f.control<QLabel>("TfmSettings", "lbDataFolder")->text(),
             QDir::cleanPath(QDir(f.data().folder()).filePath(QStringLiteral("Data"))));
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

void TestDatabaseSettings::serverRefusalsAreTold_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("another application's database") << "foreignTables"
                                                    << "rsDbForeignTables";
    QTest::newRow("a role that may not create tables") << "noRights"
                                                       << "rsDbPermissionDenied";
}

void TestDatabaseSettings::serverRefusalsAreTold()
{
    QFETCH(QString, fault);
    QFETCH(QString, sentence);
    PgTestDatabase pg;
    ConnectionDescription server = pg.description();
    QString role;
    if (fault == u"foreignTables") {
        pg.adminExec(QStringLiteral("CREATE TABLE history_old (id integer, note text)"));
    } else {
        // The database's owner keeps the schema: since PostgreSQL 15 others may not create in it.
        role = QStringLiteral("tooldesk_norights_%1").arg(QCoreApplication::applicationPid());
        pg.adminExec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role));
        server.user = role;
    }
    TestData data;
    data.writeIni(data.readIni()
                  + QStringLiteral("\n[DATABASE]\nEngine=PostgreSQL\nHost=%1\nName=%2\nUser=%3\n")
                        .arg(server.host, server.name, server.user));
    std::unique_ptr<ProgramRun> run = std::make_unique<ProgramRun>(data.folder());
    QVERIFY(!run->started);
    const QStringList errors = run->fakes.dialogs.texts("error");
    run.reset();
    if (!role.isEmpty())
        pg.adminExec(QStringLiteral("DROP ROLE %1").arg(role));
    QCOMPARE(errors.size(), 1);
    const QString expected = fault == u"foreignTables"
        ? messageText(qPrintable(sentence), true)
              .arg(server.displayName(), QStringLiteral("Tools, Users, History, State, Operations"),
                   QStringLiteral("history_old"))
        : messageText(qPrintable(sentence), true).arg(server.displayName());
    if (fault == u"foreignTables")
        QCOMPARE(errors.first(), expected); // nothing in English below
    else
        QVERIFY2(errors.first().startsWith(expected + QStringLiteral("\n\n")) && errors.first().contains(u"permission"),
                 qPrintable(errors.first())); // the server's words below

    Connection db;
    db.open(pg.description());
    const QStringList expectedTables = fault == u"foreignTables" ? QStringList{QStringLiteral("history_old")}
                                                                 : QStringList();
    QCOMPARE(db.userTables(), expectedTables); // nothing laid out beside them
}

QTEST_MAIN(TestDatabaseSettings)
#include "tst_databasesettings.moc"
