#include "DeskMeasures.h"

#include "BenchPlatform.h"
#include "SqliteHandle.h"
#include "app/Application.h"
#include "core/EventRecorder.h"
#include "data/Query.h"
#include "desk/TfmMain.h"
#include "platform/fakes/FakePlatform.h"
#include "widgets/DbGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <ctime>

namespace {

QByteArray utf8(const QString& s)
{
    return s.toUtf8();
}

} // namespace

bool planEvents(const QString& dbPath, int count, std::vector<PlannedEvent>& plan, QString& error)
{
    SqliteHandle db;
    if (!db.open(dbPath, true)) {
        error = db.error();
        return false;
    }
    struct Recipient {
        int key;
        QByteArray code, fio, organization;
    };
    std::vector<Recipient> recipients;
    {
        SqliteStatement q(db, "SELECT ID, ID_User, FIO, Organization FROM Users ORDER BY ID");
        while (q.step() == SQLITE_ROW)
            recipients.push_back({static_cast<int>(q.integer(0)), utf8(q.text(1)), utf8(q.text(2)), utf8(q.text(3))});
    }
    const int toolsNeeded = (count + 9) / 10 * 5;
    std::vector<PlannedEvent> tools;
    {
        SqliteStatement q(db,
                          "SELECT ID, ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, Model, Tool_State "
                          "FROM Tools WHERE Passed=1 AND WriteOff=0 ORDER BY ID LIMIT ?");
        q.bind(1, toolsNeeded);
        while (q.step() == SQLITE_ROW) {
            PlannedEvent e;
            e.toolKey = static_cast<int>(q.integer(0));
            e.toolCode = utf8(q.text(1));
            e.toolUnique = utf8(q.text(2));
            e.type = utf8(q.text(3));
            e.model = utf8(q.text(4) + u' ' + q.text(5)); // as the desk writes it
            e.state = utf8(q.text(6));
            tools.push_back(e);
        }
    }
    if (recipients.empty() || static_cast<int>(tools.size()) < toolsNeeded) {
        error = QStringLiteral("%1: %2 recipients and %3 tools in store, %4 tools needed")
                    .arg(dbPath)
                    .arg(recipients.size())
                    .arg(tools.size())
                    .arg(toolsNeeded);
        return false;
    }
    plan.clear();
    for (int i = 0; i < count; ++i) {
        const int tool = i / 10 * 5 + i % 5;
        PlannedEvent e = tools[static_cast<size_t>(tool)];
        const Recipient& r = recipients[static_cast<size_t>(tool * 7) % recipients.size()];
        e.issue = i % 10 < 5;
        e.userKey = r.key;
        e.userCode = r.code;
        e.fio = r.fio;
        e.organization = r.organization;
        plan.push_back(e);
    }
    return true;
}

bool measureStartup(const QString& folder, StartupRun& run, QString& error)
{
    QProcess child;
    // Built beside this program: the program alone, without this harness.
    child.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup"));
    child.setArguments({folder});
    QElapsedTimer timer;
    timer.start();
    child.start();
    QByteArray out;
    while (!out.contains('\n')) {
        if (!child.waitForReadyRead(120000)) {
            error = QStringLiteral("start-up child gave no ready line: %1")
                        .arg(QString::fromLocal8Bit(child.readAllStandardError()).trimmed());
            child.kill();
            child.waitForFinished();
            return false;
        }
        out += child.readAllStandardOutput();
    }
    run.ms = timer.nsecsElapsed() / 1e6;
    child.waitForFinished(120000);
    const QByteArray line = out.left(out.indexOf('\n'));
    if (!line.startsWith("ready ")) {
        error = QStringLiteral("start-up child said: %1").arg(QString::fromUtf8(line));
        return false;
    }
    for (const QByteArray& part : line.mid(6).split(' ')) {
        if (part.startsWith("rows="))
            run.rows = part.mid(5).toInt();
        else if (part.startsWith("peak_kb="))
            run.peakKb = part.mid(8).toLongLong();
    }
    return true;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

bool measureDesk(const QString& folder, const std::vector<PlannedEvent>& plan, DeskRun& run, QString& error,
                 const std::function<bool(size_t)>& afterEach)
{
    BenchPlatform seams;
    FakeDialogs& dialogs = seams.fakes.dialogs;
    const FakeSound& sound = seams.fakes.sound;
    Application application(folder, seams.platform);
    application.setTimersEnabled(false);
    if (!application.start()) {
        error = QStringLiteral("the program did not start on %1: %2").arg(folder, seams.shown());
        return false;
    }
    application.show();
    TfmMain* main = application.main();
    auto* box = main->findChild<QLineEdit*>(QStringLiteral("edInput"));
    auto* grid = main->findChild<DbGrid*>(QStringLiteral("grid_History"));
    Query& journal = application.session().qHistory;
    QCoreApplication::processEvents();
    grid->viewport()->repaint();

    const int idColumn = journal.fieldIndex(QStringLiteral("ID"));
    const int userColumn = journal.fieldIndex(QStringLiteral("ID_U"));
    const int toolColumn = journal.fieldIndex(QStringLiteral("ID_T"));
    const int operationColumn = journal.fieldIndex(QStringLiteral("Operation"));
    qint64 topKey = journal.value(0, idColumn).toLongLong();
    const qsizetype dialogsBefore = dialogs.shown.size();
    const int beepsBefore = sound.beeps;

    run.ms.clear();
    run.drainMs.clear();
    for (size_t i = 0; i < plan.size(); ++i) {
        const PlannedEvent& e = plan[i];
        QTest::keyClicks(box, QString::fromUtf8(e.userCode));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QString::fromUtf8(e.toolCode));

        QElapsedTimer timer;
        const double cpuStart = threadCpuMs();
        timer.start();
        QTest::keyClick(box, Qt::Key_Return);
        grid->viewport()->repaint();
        run.ms.push_back(timer.nsecsElapsed() / 1e6);
        run.cpuMs.push_back(threadCpuMs() - cpuStart);

        timer.restart();
        QCoreApplication::processEvents();
        run.drainMs.push_back(timer.nsecsElapsed() / 1e6);

        const qint64 key = journal.value(0, idColumn).toLongLong();
        const QString operation = journal.value(0, operationColumn).toString();
        const QString expected = e.issue ? EventRecorder::issueWord(true) : EventRecorder::returnWord(true);
        const bool right = key > topKey && journal.value(0, userColumn).toString() == QString::fromUtf8(e.userCode)
            && journal.value(0, toolColumn).toString() == QString::fromUtf8(e.toolUnique) && operation == expected;
        if (!right) {
            ++run.mismatches;
            if (run.problems.size() < 5)
                run.problems << QStringLiteral("%1 %2 -> %3: top row ID=%4 %5 %6 %7")
                                    .arg(QString::fromUtf8(e.userCode), QString::fromUtf8(e.toolCode), expected)
                                    .arg(key)
                                    .arg(journal.value(0, userColumn).toString(),
                                         journal.value(0, toolColumn).toString(), operation);
        }
        topKey = std::max(topKey, key);
        if (afterEach && !afterEach(i)) {
            error = QStringLiteral("stopped after event %1").arg(i + 1);
            return false;
        }
    }
    if (sound.beeps != beepsBefore) // failures told on the desk's message line
        run.problems << QStringLiteral("%1 failures at the desk").arg(sound.beeps - beepsBefore);
    for (qsizetype i = dialogsBefore; i < dialogs.shown.size() && run.problems.size() < 10; ++i)
        run.problems << QStringLiteral("dialog %1: %2").arg(dialogs.shown[i].kind, dialogs.shown[i].text);
    return true;
}

struct BaselineWriter::Statements {
    SqliteHandle db;
    std::unique_ptr<SqliteStatement> begin, insert, update, commit;
    // The values the desk writes with the fake clock and Russian texts.
    QByteArray date, time, issueWord, returnWord, note;
};

BaselineWriter::BaselineWriter() = default;
BaselineWriter::~BaselineWriter() = default;

bool BaselineWriter::open(const QString& dbPath)
{
    m_s = std::make_unique<Statements>();
    SqliteHandle& db = m_s->db;
    if (!db.open(dbPath, false) || !db.exec("PRAGMA journal_mode=WAL") || !db.exec("PRAGMA synchronous=FULL")
        || !db.exec("PRAGMA busy_timeout=10000")) {
        m_error = db.error();
        return false;
    }
    m_s->begin = std::make_unique<SqliteStatement>(db, "BEGIN IMMEDIATE");
    m_s->insert = std::make_unique<SqliteStatement>(
        db,
        "INSERT INTO History (ID_U, ID_T, ADate, ATime, Operation, Note, FIO, IType, Model, Organization, State) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?)");
    m_s->update = std::make_unique<SqliteStatement>(db, "UPDATE Tools SET Passed=?, OwnerID=? WHERE ID=?");
    m_s->commit = std::make_unique<SqliteStatement>(db, "COMMIT");
    if (!m_s->begin->valid() || !m_s->insert->valid() || !m_s->update->valid() || !m_s->commit->valid()) {
        m_error = db.error();
        return false;
    }
    const QDateTime now = FakeClock().current;
    m_s->date = now.date().toString(Qt::ISODate).toUtf8();
    m_s->time = now.time().toString(QStringLiteral("hh:mm:ss")).toUtf8();
    m_s->issueWord = EventRecorder::issueWord(true).toUtf8();
    m_s->returnWord = EventRecorder::returnWord(true).toUtf8();
    return true;
}

bool BaselineWriter::write(const PlannedEvent& e)
{
    Statements& s = *m_s;
    const QByteArray owner = QByteArray::number(e.userKey);
    QElapsedTimer timer;
    const double cpuStart = threadCpuMs();
    timer.start();
    bool ok = s.begin->run();
    SqliteStatement& insert = *s.insert;
    insert.bind(1, e.userCode);
    insert.bind(2, e.toolUnique);
    insert.bind(3, s.date);
    insert.bind(4, s.time);
    insert.bind(5, e.issue ? s.issueWord : s.returnWord);
    insert.bind(6, s.note);
    insert.bind(7, e.fio);
    insert.bind(8, e.type);
    insert.bind(9, e.model);
    insert.bind(10, e.organization);
    insert.bind(11, e.state);
    ok = ok && insert.run();
    s.update->bind(1, e.issue ? 0 : 1);
    s.update->bind(2, owner);
    s.update->bind(3, e.toolKey);
    ok = ok && s.update->run();
    const qint64 beforeCommit = timer.nsecsElapsed();
    ok = ok && s.commit->run();
    const qint64 total = timer.nsecsElapsed();
    if (!ok) {
        m_error = s.db.error();
        s.db.exec("ROLLBACK");
        return false;
    }
    ms.push_back(total / 1e6);
    cpuMs.push_back(threadCpuMs() - cpuStart);
    commitMs.push_back((total - beforeCommit) / 1e6);
    return true;
}
