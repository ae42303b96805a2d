#include "FourDesks.h"

#include "BenchPlatform.h"
#include "app/Application.h"
#include "core/DatabaseSettings.h"
#include "core/ProgramPaths.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "desk/TfmMain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <cstdio>

namespace {

constexpr int kDesks = 4;
constexpr int kTools = 50;
constexpr int kRounds = 10; // 500 events a desk

} // namespace

int runScanChild(const QStringList& arguments)
{
    // FOLDER RECIPIENT ROUNDS TOOL...
    if (arguments.size() < 4)
        return 2;
    BenchPlatform seams;
    Application app(arguments[0], seams.platform);
    app.setTimersEnabled(false);
    if (!app.start()) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(seams.shown()));
        return 3;
    }
    TfmMain& desk = *app.main();
    desk.findChild<QCheckBox*>(QStringLiteral("cbClear"))->setChecked(true);
    auto* box = desk.findChild<QLineEdit*>(QStringLiteral("edInput"));
    const int rounds = arguments[2].toInt();
    for (int r = 0; r < rounds; ++r) {
        for (qsizetype t = 3; t < arguments.size(); ++t) {
            for (const QString& code : {arguments[1], arguments[t]}) {
                QTest::keyClicks(box, code);
                QTest::keyClick(box, Qt::Key_Return);
            }
        }
    }
    // The desk beeps with every failure it tells on its message line.
    int failures = seams.fakes.sound.beeps;
    for (const auto& shown : seams.fakes.dialogs.shown)
        failures += shown.kind == u"error" ? 1 : 0;
    std::printf("failures=%d\n", failures);
    return 0;
}

bool measureFourDesks(const QString& folder, FourDesksRun& run, QString& error)
{
    QStringList tools, recipients;
    qint64 firstNewRow = 0;
    try {
        const ProgramPaths paths(folder);
        Connection db; // the database the folder's settings name
        db.open(DatabaseSettings::read(paths.ini, paths.database));
        const SqlDialect& d = db.dialect();
        Statement t = db.run(QStringLiteral("SELECT ID_Tool FROM Tools WHERE Passed=%1 AND WriteOff=%2 AND ID_Tool "
                                            "IS NOT NULL ORDER BY ID LIMIT %3")
                                 .arg(d.sqlTrue(), d.sqlFalse())
                                 .arg(kTools));
        while (t->next())
            tools << t->value(0).toString();
        Statement u = db.run(QStringLiteral("SELECT ID_User FROM Users ORDER BY ID LIMIT %1").arg(kDesks));
        while (u->next())
            recipients << u->value(0).toString();
        firstNewRow = db.scalar(QStringLiteral("SELECT MAX(ID) FROM History")).toLongLong() + 1;
    } catch (const DbError& e) {
        error = e.text();
        return false;
    }
    if (tools.size() < kTools || recipients.size() < kDesks) {
        error = QStringLiteral("not enough tools in store or recipients");
        return false;
    }

    QElapsedTimer timer;
    timer.start();
    QList<QProcess*> desks;
    for (int i = 0; i < kDesks; ++i) {
        auto* p = new QProcess;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QStringList order = tools.mid(i * 12) + tools.mid(0, i * 12); // they meet on every tool
        p->start(QCoreApplication::applicationFilePath(),
                 QStringList{QStringLiteral("--scan-child"), folder, recipients[i], QString::number(kRounds)} + order);
        desks << p;
    }
    bool ok = true;
    for (QProcess* p : desks) {
        ok = p->waitForFinished(600000) && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0 && ok;
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        run.failures += out.section(QStringLiteral("failures="), 1).trimmed().toInt();
        delete p;
    }
    run.seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    if (!ok) {
        error = QStringLiteral("a desk did not finish");
        return false;
    }

    try {
        const ProgramPaths paths(folder);
        Connection db;
        db.open(DatabaseSettings::read(paths.ini, paths.database));
        for (const QString& tool : std::as_const(tools)) {
            Statement q = db.run(QStringLiteral("SELECT h.Operation FROM History h WHERE h.ID >= ? AND h.ID_T = "
                                                "(SELECT ID_Tool_Unique FROM Tools WHERE ID_Tool = ?) ORDER BY h.ID"),
                                 {firstNewRow, tool});
            bool out = false;
            while (q->next()) {
                const bool issue = q->value(0).toString() == u"Выдан" || q->value(0).toString() == u"issued";
                if (issue && out)
                    ++run.doubleIssues;
                out = issue;
                ++run.events;
            }
            const bool inStore = db.scalar(QStringLiteral("SELECT Passed FROM Tools WHERE ID_Tool = ?"), {tool}).toInt()
                != 0;
            if (inStore == out)
                ++run.stateMismatches;
        }
    } catch (const DbError& e) {
        error = e.text();
        return false;
    }
    return true;
}
