// Start-up on a program folder: the delivered Data folder, and the ways a
// start must end without using the database.
#include "core/Messages.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "tests/data/DbFixture.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void deliveredFolderStartsAndUpgradesOnce();
    void databaseFaultsEndTheStart_data();
    void databaseFaultsEndTheStart();
    void missingSettingsFileEndsAfterUpgrade();
    void desksStartEmpty();
};

namespace {

QStringList tableNames(const QString& dbPath)
{
    Connection db;
    db.open(dbPath);
    QStringList names = db.userTables();
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace

void TestStartup::deliveredFolderStartsAndUpgradesOnce()
{
    QString folder;
    {
        // The delivered database is up to date: no reconstruction question.
        DeskFixture delivered;
        QVERIFY(delivered.started());
        QCOMPARE(delivered.startupShown.size(), 1);
        QCOMPARE(delivered.startupShown.first().kind, QStringLiteral("modal")); // the sign-in only

        // A database of the original layout asks once, then is upgraded.
        DeskFixture first(QString(), [](FakePlatform& fakes, const TestData& data) {
            dbfixture::useOriginalLayout(data.dbPath());
            DeskFixture::scriptSignIn(fakes.dialogs, DeskFixture::SignIn::Administrator);
        });
        QVERIFY(first.started());
        QCOMPARE(first.startupShown.size(), 2);
        QCOMPARE(first.startupShown.first().text,
                 QStringLiteral("Для начала реконструкции БД нажмите ОК (Может занять некоторое время)"));
        QCOMPARE(first.startupShown.last().kind, QStringLiteral("modal")); // then the sign-in
        QCOMPARE(first.main().windowTitle(), QStringLiteral("Выдача инструмента | АДМИНИСТРАТОР"));
        QVERIFY(first.session().qTools.hasField("WriteOff"));
        QVERIFY(first.session().qHistory.hasField("ATime"));

        // A second program on the same folder: nothing left to upgrade.
        ProgramRun second(first.data().folder(), DeskFixture::SignIn::Administrator);
        QVERIFY(second.started);
        QCOMPARE(second.fakes.dialogs.texts("message"), QStringList());
        QCOMPARE(tableNames(first.data().dbPath()),
                 (QStringList{"AKTSpisaniya", "History", "MESTO", "NAIMENOVANIYA", "Operations", "State", "Tools",
                              "TOOLTYPES", "Users", "WORKTYPES"}));
    }
}

void TestStartup::databaseFaultsEndTheStart_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("message"); // what the message starts with, then the file or folder
    QTest::newRow("missing file") << "missing"
                                  << "RU"
                                  << "Файл базы данных не найден: ";
    QTest::newRow("zero bytes") << "empty"
                                << "RU"
                                << "Файл базы данных пуст (0 байт): ";
    QTest::newRow("not a database") << "garbage"
                                    << "RU"
                                    << "Файл не является базой данных программы: ";
    QTest::newRow("read-only file") << "readOnlyFile"
                                    << "RU"
                                    << "Нет права записи в файл базы данных: ";
    QTest::newRow("read-only folder") << "readOnlyFolder"
                                      << "RU"
                                      << "Нет права записи в папку базы данных: ";
    QTest::newRow("damaged pages") << "damaged"
                                   << "RU"
                                   << "Файл базы данных повреждён: ";
    QTest::newRow("in English") << "empty"
                                << "EN"
                                << "The database file is empty (0 bytes): ";
    QTest::newRow("no State table") << "noState"
                                    << "RU"
                                    << "";
    QTest::newRow("no Operations table") << "noOperations"
                                         << "RU"
                                         << "";
}

void TestStartup::databaseFaultsEndTheStart()
{
    QFETCH(QString, fault);
    QFETCH(QString, language);
    QFETCH(QString, message);
    TestData data;
    data.writeIni(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    const QString dataFolder = data.data();
    if (fault == u"missing") {
        QVERIFY(QFile::remove(data.dbPath()));
    } else if (fault == u"empty" || fault == u"garbage") {
        QFile f(data.dbPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(fault == u"empty" ? QByteArray() : QByteArray(4096, 'x'));
    } else if (fault == u"damaged") {
        // Every page after the first holds noise: the header still says SQLite.
        QFile f(data.dbPath());
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 size = f.size();
        QVERIFY(size > 8192);
        QVERIFY(f.seek(4096));
        f.write(QByteArray(size - 4096, '\x5a'));
    } else if (fault == u"readOnlyFile") {
        QVERIFY(QFile::setPermissions(data.dbPath(), QFile::ReadOwner | QFile::ReadGroup));
    } else if (fault == u"readOnlyFolder") {
        QVERIFY(QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::ExeOwner));
    } else {
        Connection db;
        db.open(data.dbPath());
        db.exec(fault == u"noState" ? "DROP TABLE State" : "DROP TABLE Operations");
    }
    auto bytes = [&] {
        QFile f(data.dbPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    const QByteArray before = bytes();
    const QStringList filesBefore = QDir(dataFolder).entryList(QDir::Files);

    ProgramRun run(data.folder(), DeskFixture::SignIn::Administrator);
    QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!run.started);
    const QStringList errors = run.fakes.dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    if (!message.isEmpty()) {
        // The sentence names the file or folder; the engine's text follows.
        const QString named = fault == u"readOnlyFolder" ? QDir::cleanPath(dataFolder) : data.dbPath();
        QVERIFY2(errors.first().startsWith(message), qPrintable(errors.first()));
        QVERIFY2(errors.first().contains(named), qPrintable(errors.first()));
        // Nothing is written to the file, and nothing is left beside it.
        QCOMPARE(bytes(), before);
        if (fault != u"damaged") // a damaged file is open, with its log, until the program ends
            QCOMPARE(QDir(dataFolder).entryList(QDir::Files), filesBefore);
    } else {
        QVERIFY2(errors.first().contains(fault.mid(2)), qPrintable(errors.first()));
    }
}

void TestStartup::missingSettingsFileEndsAfterUpgrade()
{
    TestData data;
    QVERIFY(QFile::remove(data.iniPath()));
    ProgramRun run(data.folder(), DeskFixture::SignIn::Administrator);
    QVERIFY(!run.started);
    QCOMPARE(run.fakes.dialogs.texts("message").last(),
             QStringLiteral("Не найден файл конфигурации, обратитесь к администратору"));
    QVERIFY(tableNames(data.dbPath()).contains("WORKTYPES"));
    QVERIFY(!QFile::exists(data.iniPath()));
}

void TestStartup::desksStartEmpty()
{
    DeskFixture f;
    f.addRecipient("U1");
    f.addTool("T1");
    TfmMain& m = f.main();
    QVERIFY(f.desk().qSearch_U.isOpen());
    QVERIFY(f.desk().qSearch_T.isOpen());
    QVERIFY(!m.recipientSelected());
    QVERIFY(!m.toolSelected());
    // The tool list leaves written-off tools out.
    Query& tools = f.session().qTools;
    tools.reopen();
    QVERIFY(tools.rowOf(QStringLiteral("ID_Tool"), QStringLiteral("T1")) >= 0);
    f.session().connection().exec(QStringLiteral("UPDATE Tools SET WriteOff = ? WHERE ID_Tool = 'T1'"), {true});
    tools.reopen();
    QCOMPARE(tools.rowOf(QStringLiteral("ID_Tool"), QStringLiteral("T1")), -1);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
