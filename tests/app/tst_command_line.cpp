// The program's options without a display: help and version end at once,
// every other argument that looks like an option is refused with the usage.
#include "support/ProgramRun.h"
#include <QProcess>
#include <QtTest>

namespace {

using Outcome = ProgramOutcome;

Outcome run(const QStringList& arguments, const QString& dataVariable = {})
{
    const auto chooseData = [&dataVariable](QProcess& p) {
        QProcessEnvironment env = p.processEnvironment();
        env.remove(QStringLiteral("TOOLDESK_DATA"));
        if (!dataVariable.isEmpty())
            env.insert(QStringLiteral("TOOLDESK_DATA"), dataVariable);
        p.setProcessEnvironment(env);
    };
    return runWithoutDisplay(QStringLiteral(TOOLDESK_BINARY), arguments, chooseData, 60000);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void helpNamesEveryMode_data();
    void helpNamesEveryMode();
    void versionNamesTheCommit_data();
    void versionNamesTheCommit();
    void unknownOptionsAreRefused_data();
    void unknownOptionsAreRefused();
    void dataFolderOption_data();
    void dataFolderOption();
};

void TestCommandLine::helpNamesEveryMode_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("short") << "-h";
    QTest::newRow("long") << "--help";
}

void TestCommandLine::helpNamesEveryMode()
{
    QFETCH(QString, option);
    const Outcome o = run({option});
    QCOMPARE(o.status, 0);
    QCOMPARE(o.err, QString());
    for (const char* mode : {"--help", "--version", "--backup FILE", "--copy-database-to-server", "--report history",
                             "--report inventory", "--report on-hand", "--labels tools", "Exit status"})
        QVERIFY2(o.out.contains(QLatin1String(mode)), mode);
}

void TestCommandLine::versionNamesTheCommit_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("short") << "-v";
    QTest::newRow("long") << "--version";
}

void TestCommandLine::versionNamesTheCommit()
{
    QFETCH(QString, option);
    const Outcome o = run({option});
    QCOMPARE(o.status, 0);
    static const QRegularExpression line(
        QStringLiteral("^tooldesk \\d+\\.\\d+\\.\\d+ \\(commit ([0-9a-f]{7,}|unknown)\\)\\n$"));
    QVERIFY2(line.match(o.out).hasMatch(), qPrintable(o.out));
}

void TestCommandLine::unknownOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("one dash") << QStringList{"-x"};
    QTest::newRow("two dashes") << QStringList{"--nothing"};
    QTest::newRow("a toolkit option") << QStringList{"-platform", "offscreen"};
    QTest::newRow("a longer word beginning like help") << QStringList{"--helpme"};
    QTest::newRow("a lone dash") << QStringList{"-"};
}

void TestCommandLine::unknownOptionsAreRefused()
{
    QFETCH(QStringList, arguments);
    const Outcome o = run(arguments);
    QCOMPARE(o.status, 2);
    QVERIFY2(o.err.contains(QStringLiteral("unknown option: ") + arguments.first()), qPrintable(o.err));
    QVERIFY2(o.err.contains(QLatin1String("usage: tooldesk")), qPrintable(o.err));
    QCOMPARE(o.out, QString());
}

// --data and TOOLDESK_DATA name the Data folder for every mode; --help says
// which is in use; a folder that is not there is refused before any work.
void TestCommandLine::dataFolderOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // in out or err; "@" is the temporary folder

    QTest::newRow("help names --data's folder")
        << QStringList{"--data", "@/shared", "--help"} << "" << 0 << "Data folder in use: @/shared (--data)";
    QTest::newRow("--data after the mode")
        << QStringList{"--help", "--data=@/shared"} << "" << 0 << "Data folder in use: @/shared (--data)";
    QTest::newRow("help names the variable's")
        << QStringList{"--help"} << "@/shared" << 0 << "Data folder in use: @/shared (TOOLDESK_DATA)";
    QTest::newRow("--data beats the variable")
        << QStringList{"--data", "@/shared", "-h"} << "@/other" << 0 << "@/shared (--data)";
    QTest::newRow("backup into --data's folder")
        << QStringList{"--data", "@/shared", "--backup", "@/copy.mdb"} << "" << 0 << "@/copy.mdb";
    QTest::newRow("missing folder refused") << QStringList{"--data", "@/nowhere", "--backup", "@/copy.mdb"} << "" << 1
                                            << "The Data folder @/nowhere does not exist";
    QTest::newRow("missing folder, labels") << QStringList{"--labels"} << "@/nowhere" << 1 << "@/nowhere";
    QTest::newRow("no folder after --data") << QStringList{"--data"} << "" << 2 << "--data needs a folder";
    QTest::newRow("unknown option still refused")
        << QStringList{"--data", "@/shared", "--nothing"} << "" << 2 << "unknown option: --nothing";
}

void TestCommandLine::dataFolderOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, variable);
    QFETCH(int, status);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    QVERIFY(QFile::copy(QStringLiteral(TOOLDESK_DELIVERED_DATA "/DB.mdb"), root + QStringLiteral("/DB.mdb")));
    QVERIFY(QDir(root).mkpath(QStringLiteral("shared")));
    QVERIFY(QFile::rename(root + QStringLiteral("/DB.mdb"), root + QStringLiteral("/shared/DB.mdb")));
    QVERIFY(QFile::copy(QStringLiteral(TOOLDESK_DELIVERED_DATA "/Config.ini"),
                        root + QStringLiteral("/shared/Config.ini")));
    for (QString& a : arguments)
        a.replace(u'@', root);
    variable.replace(u'@', root);
    said.replace(u'@', root);
    const Outcome o = run(arguments, variable);
    QCOMPARE(o.status, status);
    QVERIFY2((o.out + o.err).contains(said), qPrintable(o.out + o.err));
    if (arguments.contains(root + QStringLiteral("/copy.mdb")))
        QCOMPARE(QFileInfo::exists(root + QStringLiteral("/copy.mdb")), status == 0);
    QVERIFY(!QFileInfo::exists(root + QStringLiteral("/nowhere")));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
