// The program's options without a display: help and version end at once,
// every other argument that looks like an option is refused with the usage.
#include <QProcess>
#include <QtTest>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOOLDESK_BINARY), arguments);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
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

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
