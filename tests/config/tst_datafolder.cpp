// Which Data folder the program works on, and the user's folder made from
// the installed template: whole, once, never over an existing one.
#include "core/DataFolder.h"
#include "core/Messages.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString slash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

// An installed layout: prefix/bin/ with the template in prefix/share/tooldesk/Data.
struct Installed {
    QTemporaryDir root;
    QString bin() const { return root.filePath(QStringLiteral("usr/bin")); }
    QString templ() const { return root.filePath(QStringLiteral("usr/share/tooldesk/Data")); }
    QString home() const { return root.filePath(QStringLiteral("home")); }
    QString userData() const { return home() + QStringLiteral("/.local/share/tooldesk/Data"); }
    Installed()
    {
        QDir().mkpath(bin());
        writeFile(templ() + QStringLiteral("/DB.mdb"), "database");
        writeFile(templ() + QStringLiteral("/Config.ini"), "[MAIN]\n");
        writeFile(templ() + QStringLiteral("/Templates/AKT_RU.docx"), "act");
        // Installed read-only, as a package leaves it to a user.
        QFile::setPermissions(templ() + QStringLiteral("/DB.mdb"), QFile::ReadOwner | QFile::ReadGroup);
    }
    DataFolder userChoice() const { return DataFolder::choose({bin(), {}, {}, {}, home()}); }
};

Messages english()
{
    Messages t;
    setMessages(t, false);
    return t;
}

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT
private slots:
    void chooses_data();
    void chooses();
    void pathsBesideTheChosenFolder();
    void firstStartCopiesTheTemplate();
    void existingFolderIsNeverOverwritten();
    void refusals_data();
    void refusals();
    void failedCopyLeavesNothing();
    void takesTheOption_data();
    void takesTheOption();
};

void TestDataFolder::chooses_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<bool>("portable");
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("expected"); // "@" is the temporary root

    using S = DataFolder::Source;
    QTest::newRow("installed, default") << ""
                                        << "" << false << "" << int(S::UserData)
                                        << "@/home/.local/share/tooldesk/Data/";
    QTest::newRow("installed, XDG_DATA_HOME") << ""
                                              << "" << false << "@/xdg" << int(S::UserData) << "@/xdg/tooldesk/Data/";
    QTest::newRow("relative XDG_DATA_HOME is ignored")
        << ""
        << "" << false << "rel/xdg" << int(S::UserData) << "@/home/.local/share/tooldesk/Data/";
    QTest::newRow("portable beats XDG") << ""
                                        << "" << true << "@/xdg" << int(S::Portable) << "@/usr/bin/Data/";
    QTest::newRow("variable beats portable")
        << ""
        << "@/shared/Data" << true << "" << int(S::Environment) << "@/shared/Data/";
    QTest::newRow("option beats variable") << "@/other"
                                           << "@/shared/Data" << true << "" << int(S::Option) << "@/other/";
    QTest::newRow("option cleaned") << "@/a/../other/./"
                                    << "" << false << "" << int(S::Option) << "@/other/";
}

void TestDataFolder::chooses()
{
    QFETCH(QString, option);
    QFETCH(QString, variable);
    QFETCH(bool, portable);
    QFETCH(QString, xdg);
    QFETCH(int, source);
    QFETCH(QString, expected);
    Installed in;
    const QString root = in.root.path();
    if (portable)
        QVERIFY(QDir().mkpath(in.bin() + QStringLiteral("/Data")));
    option.replace(u'@', root);
    variable.replace(u'@', root);
    xdg.replace(u'@', root);
    expected.replace(u'@', root);
    const DataFolder d = DataFolder::choose({in.bin(), option, variable, xdg, in.home()});
    QCOMPARE(int(d.source()), source);
    QCOMPARE(d.path(), expected);
    QCOMPARE(d.templateFolder(), slash(in.templ()));
}

void TestDataFolder::pathsBesideTheChosenFolder()
{
    // Named anything: the files inside, Reports/ and WriteOff/ in its parent.
    const ProgramPaths p =
        DataFolder::choose({QStringLiteral("/opt/x"), QStringLiteral("/srv/store/desk-data"), {}, {}, {}}).paths();
    QCOMPARE(p.data, QStringLiteral("/srv/store/desk-data/"));
    QCOMPARE(p.database, QStringLiteral("/srv/store/desk-data/DB.mdb"));
    QCOMPARE(p.ini, QStringLiteral("/srv/store/desk-data/Config.ini"));
    QCOMPARE(p.folder, QStringLiteral("/srv/store/"));
    // Portable as before.
    QCOMPARE(ProgramPaths(QStringLiteral("/opt/x")).folder, QStringLiteral("/opt/x/"));
    QCOMPARE(ProgramPaths(QStringLiteral("/opt/x")).data, QStringLiteral("/opt/x/Data/"));
}

void TestDataFolder::firstStartCopiesTheTemplate()
{
    Installed in;
    const DataFolder d = in.userChoice();
    QVERIFY(!QFileInfo::exists(in.userData()));
    QCOMPARE(d.prepare(english()), QString());
    QCOMPARE(entries(in.userData()), entries(in.templ()));
    QCOMPARE(readFile(in.userData() + QStringLiteral("/DB.mdb")), QByteArray("database"));
    QCOMPARE(readFile(in.userData() + QStringLiteral("/Templates/AKT_RU.docx")), QByteArray("act"));
    // The user's copy is the user's to write, though the template is read-only.
    QVERIFY(QFileInfo(in.userData() + QStringLiteral("/DB.mdb")).permissions() & QFile::WriteOwner);
    // No temporary sibling is left beside it.
    QCOMPARE(entries(in.home() + QStringLiteral("/.local/share/tooldesk")).filter(QRegularExpression("^[^/]*$")),
             QStringList{QStringLiteral("Data")});
}

void TestDataFolder::existingFolderIsNeverOverwritten()
{
    Installed in;
    writeFile(in.userData() + QStringLiteral("/DB.mdb"), "the user's journal");
    QCOMPARE(in.userChoice().prepare(english()), QString());
    QCOMPARE(readFile(in.userData() + QStringLiteral("/DB.mdb")), QByteArray("the user's journal"));
    QCOMPARE(entries(in.userData()), QStringList{QStringLiteral("DB.mdb")});
}

void TestDataFolder::refusals_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<bool>("removeTemplate");
    QTest::addColumn<QString>("message"); // the folder named is appended

    QTest::newRow("named folder missing") << "@/nowhere"
                                          << "" << false << "does not exist";
    QTest::newRow("variable's folder missing") << ""
                                               << "@/nowhere" << false << "does not exist";
    QTest::newRow("named folder is a file") << "@/file"
                                            << "" << false << "is a file";
    QTest::newRow("template missing") << ""
                                      << "" << true << "template";
}

void TestDataFolder::refusals()
{
    QFETCH(QString, option);
    QFETCH(QString, variable);
    QFETCH(bool, removeTemplate);
    QFETCH(QString, message);
    Installed in;
    writeFile(in.root.filePath(QStringLiteral("file")), "x");
    if (removeTemplate)
        QVERIFY(QDir(in.templ()).removeRecursively());
    option.replace(u'@', in.root.path());
    variable.replace(u'@', in.root.path());
    const DataFolder d = DataFolder::choose({in.bin(), option, variable, {}, in.home()});
    const QString text = d.prepare(english());
    QVERIFY2(text.contains(message), qPrintable(text));
    QVERIFY2(text.contains(QDir::cleanPath(d.path())), qPrintable(text));
    // Nothing is made for a named folder: a mistyped one must not start an empty store.
    QVERIFY(!QFileInfo::exists(in.root.filePath(QStringLiteral("nowhere"))));
    QVERIFY(!QFileInfo::exists(in.userData()));
    Messages russian;
    setMessages(russian, true);
    QVERIFY(d.prepare(russian).contains(QStringLiteral("Папка данных")));
}

void TestDataFolder::failedCopyLeavesNothing()
{
    Installed in;
    // A file in the way of one of the template's folders in the copy cannot
    // be made by permissions as root; a dangling template entry can't be read.
    QVERIFY(QFile::link(in.root.filePath(QStringLiteral("gone")), in.templ() + QStringLiteral("/Images")));
    const QString text = in.userChoice().prepare(english());
    QVERIFY2(text.contains(QStringLiteral("was NOT made")), qPrintable(text));
    QVERIFY2(text.contains(in.templ()), qPrintable(text));
    QVERIFY(!QFileInfo::exists(in.userData()));
    QCOMPARE(entries(in.home() + QStringLiteral("/.local/share/tooldesk")), QStringList());
}

void TestDataFolder::takesTheOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("rest");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("missing");

    QTest::newRow("none") << QStringList{"tooldesk", "--backup", "f"} << QStringList{"tooldesk", "--backup", "f"} << ""
                          << false;
    QTest::newRow("first") << QStringList{"tooldesk", "--data", "/d", "--backup", "f"}
                           << QStringList{"tooldesk", "--backup", "f"} << "/d" << false;
    QTest::newRow("last") << QStringList{"tooldesk", "--report", "inventory", "--pdf", "x", "--data", "/d"}
                          << QStringList{"tooldesk", "--report", "inventory", "--pdf", "x"} << "/d" << false;
    QTest::newRow("with =") << QStringList{"tooldesk", "--data=/d"} << QStringList{"tooldesk"} << "/d" << false;
    QTest::newRow("alone") << QStringList{"tooldesk", "--data", "/d"} << QStringList{"tooldesk"} << "/d" << false;
    QTest::newRow("no folder") << QStringList{"tooldesk", "--data"} << QStringList{"tooldesk"} << "" << true;
    QTest::newRow("empty =") << QStringList{"tooldesk", "--data="} << QStringList{"tooldesk"} << "" << true;
    QTest::newRow("program name untouched")
        << QStringList{"--data", "--help"} << QStringList{"--data", "--help"} << "" << false;
}

void TestDataFolder::takesTheOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, rest);
    QFETCH(QString, folder);
    QFETCH(bool, missing);
    bool missingValue = !missing;
    QCOMPARE(DataFolder::takeOption(arguments, &missingValue), folder);
    QCOMPARE(arguments, rest);
    QCOMPARE(missingValue, missing);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
