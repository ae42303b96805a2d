#include "BenchDatabase.h"

#include "BenchPlatform.h"
#include "SqliteHandle.h"
#include "app/Application.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLayoutVersion = 3; // raise when the generated rows or the delivered layout change

const char* const kSurnames[] = {"Иванов",  "Петров",   "Сидоров", "Смирнов", "Кузнецов", "Попов",   "Васильев",
                                 "Соколов", "Михайлов", "Новиков", "Фёдоров", "Морозов",  "Волков",  "Алексеев",
                                 "Лебедев", "Семёнов",  "Егоров",  "Павлов",  "Козлов",   "Степанов"};
const char* const kNames[] = {"Иван",     "Пётр", "Сергей", "Алексей", "Андрей", "Дмитрий", "Николай", "Михаил",
                              "Владимир", "Юрий", "Олег",   "Игорь",   "Виктор", "Павел",   "Роман"};
const char* const kPatronymics[] = {"Иванович",   "Петрович",   "Сергеевич",  "Алексеевич",   "Андреевич",
                                    "Дмитриевич", "Николаевич", "Михайлович", "Владимирович", "Юрьевич"};
const char* const kOrganizations[] = {"ООО «Строймонтаж»", "АО «Энергоремонт»", "ООО «Спецмонтаж»", "ПАО «Заводстрой»",
                                      "ООО «Техсервис»"};
const char* const kToolTypes[] = {"Перфоратор",
                                  "Шуруповёрт",
                                  "Болгарка",
                                  "Дрель",
                                  "Лобзик",
                                  "Пила дисковая",
                                  "Фрезер",
                                  "Рубанок",
                                  "Гайковёрт",
                                  "Краскопульт",
                                  "Строительный фен",
                                  "Отбойный молоток",
                                  "Миксер",
                                  "Штроборез",
                                  "Нивелир",
                                  "Дальномер",
                                  "Сварочный аппарат",
                                  "Компрессор",
                                  "Пылесос",
                                  "Плиткорез"};
const char* const kMakers[] = {"Bosch",     "Makita",    "Metabo", "DeWalt", "Hilti",
                               "Milwaukee", "Интерскол", "Зубр",   "AEG",    "Hitachi"};
const char* const kStates[] = {"новый", "хорошее", "среднее", "требует ремонта"};

template<typename T, size_t N>
constexpr int countOf(const T (&)[N])
{
    return static_cast<int>(N);
}

bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::copy(source, target))
            return false;
        // The build's copies may be read-only; the program writes its settings file.
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return true;
}

struct ToolRow {
    quint8 type;
    quint8 maker;
    quint8 state;
    quint16 model;
    int holder = -1; // recipient index while issued
    int owner = -1;  // recipient of the tool's last event
};

struct JournalRow {
    int tool;
    int recipient;
    bool issue;
};

std::string recipientCode(int r)
{
    char b[16];
    std::snprintf(b, sizeof b, "U%06d", r + 1);
    return b;
}

std::string toolCode(int t)
{
    char b[16];
    std::snprintf(b, sizeof b, "T%07d", t + 1);
    return b;
}

std::string modelOf(const ToolRow& t)
{
    char b[32];
    std::snprintf(b, sizeof b, "%c%c-%03d", "GDMHWKXSRP"[t.maker], "ABCDEFGHJK"[t.type % 10], t.model);
    return b;
}

std::string recipientName(int r)
{
    return std::string(kSurnames[r % countOf(kSurnames)]) + ' ' + kNames[(r / 20) % countOf(kNames)] + ' '
        + kPatronymics[(r / 7) % countOf(kPatronymics)];
}

} // namespace

BenchDatabase::BenchDatabase(const QString& dir, Sizes sizes)
    : m_dir(QDir(dir).absolutePath())
    , m_sizes(sizes)
{
}

QString BenchDatabase::programFolder() const
{
    return m_dir + u'/';
}

QString BenchDatabase::dbPath() const
{
    return m_dir + QStringLiteral("/Data/DB.mdb");
}

QString BenchDatabase::baselinePath() const
{
    return m_dir + QStringLiteral("/baseline.mdb");
}

QString BenchDatabase::markerPath() const
{
    return m_dir + QStringLiteral("/generated.txt");
}

QString BenchDatabase::pristinePath() const
{
    return m_dir + QStringLiteral("/DB.pristine.mdb");
}

QString BenchDatabase::layoutLine() const
{
    return QStringLiteral("layout=%1 recipients=%2 tools=%3 journal=%4")
        .arg(kLayoutVersion)
        .arg(m_sizes.recipients)
        .arg(m_sizes.tools)
        .arg(m_sizes.journal);
}

bool BenchDatabase::prepare(bool regenerate)
{
    if (regenerate || !reusable()) {
        if (!generate())
            return false;
    }
    return restore();
}

bool BenchDatabase::reusable()
{
    // The marker is written last, so its presence means a whole generation.
    QFile marker(markerPath());
    if (!marker.open(QIODevice::ReadOnly) || !QFileInfo::exists(pristinePath()))
        return false;
    const QStringList lines = QString::fromUtf8(marker.readAll()).split(u'\n');
    if (lines.value(0) != layoutLine())
        return false;
    m_generationSeconds = lines.value(1).section(u'=', 1).toDouble();
    m_generatedNow = false;
    return true;
}

bool BenchDatabase::generate()
{
    QElapsedTimer timer;
    timer.start();
    QFile::remove(markerPath());
    QFile::remove(pristinePath());
    QDir(m_dir + QStringLiteral("/Data")).removeRecursively();
    if (!copyDelivered() || !upgradeByProgramStart() || !fill())
        return false;
    if (!QFile::copy(dbPath(), pristinePath())) {
        m_error = QStringLiteral("cannot copy %1 to %2").arg(dbPath(), pristinePath());
        return false;
    }
    m_generationSeconds = timer.nsecsElapsed() / 1e9;
    m_generatedNow = true;
    QFile marker(markerPath());
    if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = QStringLiteral("cannot write %1").arg(markerPath());
        return false;
    }
    QTextStream(&marker) << layoutLine() << "\nseconds=" << QString::number(m_generationSeconds, 'f', 1) << '\n';
    return true;
}

bool BenchDatabase::copyDelivered()
{
    const QString delivered = QStringLiteral(TOOLDESK_DELIVERED_DATA);
    if (!QFileInfo::exists(delivered + QStringLiteral("/DB.mdb"))) {
        m_error = QStringLiteral("no delivered database in %1 (build the delivered_data target)").arg(delivered);
        return false;
    }
    if (!copyFolder(delivered, m_dir + QStringLiteral("/Data"))) {
        m_error = QStringLiteral("cannot copy %1 to %2/Data").arg(delivered, m_dir);
        return false;
    }
    return true;
}

bool BenchDatabase::upgradeByProgramStart()
{
    // The program's own start-up brings the delivered file to the current layout.
    BenchPlatform seams;
    Application app(programFolder(), seams.platform);
    app.setTimersEnabled(false);
    if (app.start())
        return true;
    m_error = QStringLiteral("the program did not start on %1: %2").arg(programFolder(), seams.shown());
    return false;
}

bool BenchDatabase::fill()
{
    SqliteHandle db;
    if (!db.open(dbPath(), false)) {
        m_error = db.error();
        return false;
    }
    const Sizes& n = m_sizes;
    std::mt19937 rng(20261210);
    auto pick = [&rng](int count) { return static_cast<int>(rng() % static_cast<unsigned>(count)); };

    // The journal as a history of issues and returns, so tool states, owners
    // and journal rows agree. Issuing gets less likely as more tools are out,
    // which settles at about a tenth of the tools issued.
    std::vector<ToolRow> tools(static_cast<size_t>(n.tools));
    for (ToolRow& t : tools) {
        t.type = static_cast<quint8>(pick(countOf(kToolTypes)));
        t.maker = static_cast<quint8>(pick(countOf(kMakers)));
        t.state = static_cast<quint8>(pick(countOf(kStates)));
        t.model = static_cast<quint16>(100 + pick(900));
    }
    std::vector<JournalRow> journal;
    journal.reserve(static_cast<size_t>(n.journal));
    std::vector<int> issued;
    const unsigned twiceTarget = static_cast<unsigned>(std::max(2, n.tools / 5));
    for (int i = 0; i < n.journal; ++i) {
        const bool issue = issued.empty() || rng() % twiceTarget >= issued.size();
        if (issue && issued.size() < static_cast<size_t>(n.tools)) {
            int t = pick(n.tools);
            while (tools[static_cast<size_t>(t)].holder >= 0)
                t = pick(n.tools);
            const int r = pick(n.recipients);
            tools[static_cast<size_t>(t)].holder = r;
            tools[static_cast<size_t>(t)].owner = r;
            issued.push_back(t);
            journal.push_back({t, r, true});
        } else {
            const size_t j = static_cast<size_t>(pick(static_cast<int>(issued.size())));
            const int t = issued[j];
            issued[j] = issued.back();
            issued.pop_back();
            const int r = tools[static_cast<size_t>(t)].holder;
            tools[static_cast<size_t>(t)].holder = -1;
            journal.push_back({t, r, false});
        }
    }

    // Building each index once after the rows is far faster than keeping it
    // up to date row by row; the program's own definitions are put back.
    QStringList indexNames, indexSql;
    {
        SqliteStatement q(db,
                          "SELECT name, sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL "
                          "AND tbl_name IN ('Users','Tools','History')");
        while (q.step() == SQLITE_ROW) {
            indexNames << q.text(0);
            indexSql << q.text(1);
        }
    }
    const bool ok = db.exec("PRAGMA synchronous=OFF") && db.exec("PRAGMA cache_size=-262144")
        && db.exec("BEGIN IMMEDIATE") && db.exec("DELETE FROM History") && db.exec("DELETE FROM Tools")
        && db.exec("DELETE FROM Users");
    if (!ok) {
        m_error = db.error();
        return false;
    }
    for (const QString& name : indexNames) {
        if (!db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(name).toUtf8())) {
            m_error = db.error();
            return false;
        }
    }

    std::vector<std::string> names(static_cast<size_t>(n.recipients));
    {
        SqliteStatement q(db, "INSERT INTO Users (ID, ID_User, FIO, Phone, Organization, Otdel) VALUES (?,?,?,?,?,?)");
        for (int r = 0; r < n.recipients; ++r) {
            names[static_cast<size_t>(r)] = recipientName(r);
            const std::string code = recipientCode(r);
            const std::string phone = "+7 900 " + std::to_string(1000000 + r);
            const std::string department = "Участок №" + std::to_string(1 + r % 20);
            q.bind(1, r + 1);
            q.bind(2, code);
            q.bind(3, names[static_cast<size_t>(r)]);
            q.bind(4, phone);
            q.bind(5, kOrganizations[r % countOf(kOrganizations)]);
            q.bind(6, department);
            if (!q.run()) {
                m_error = db.error();
                return false;
            }
        }
    }

    const int perDay = std::max(1, (n.journal + 1825) / 1826); // about five years of journal
    const int days = (n.journal + perDay - 1) / perDay;
    const QDate lastDay(2026, 12, 9); // the day before the fake clock's today
    const QDate firstDay = lastDay.addDays(-(days - 1));
    {
        SqliteStatement q(db,
                          "INSERT INTO Tools (ID, ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, SNumber, "
                          "Tool_State, Model, Date_Purchase, Passed, OwnerID, Price, Inv, WriteOff) "
                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,0)");
        for (int t = 0; t < n.tools; ++t) {
            const ToolRow& row = tools[static_cast<size_t>(t)];
            const std::string code = toolCode(t);
            const std::string serial = "SN" + std::to_string(40000000 + t);
            const std::string model = modelOf(row);
            const std::string bought = firstDay.addDays(-pick(1500)).toString(Qt::ISODate).toStdString();
            const std::string inventory = "INV" + std::to_string(700000 + t);
            q.bind(1, t + 1);
            q.bind(2, code);
            q.bind(3, code);
            q.bind(4, kToolTypes[row.type]);
            q.bind(5, kMakers[row.maker]);
            q.bind(6, serial);
            q.bind(7, kStates[row.state]);
            q.bind(8, model);
            q.bind(9, bought);
            q.bind(10, row.holder >= 0 ? 0 : 1);
            if (row.owner >= 0)
                q.bind(11, std::to_string(row.owner + 1));
            else
                q.bindNull(11);
            q.bind(12, 1000.0 + pick(90000));
            q.bind(13, inventory);
            if (!q.run()) {
                m_error = db.error();
                return false;
            }
        }
    }

    {
        std::vector<std::string> dates(static_cast<size_t>(days));
        for (int d = 0; d < days; ++d)
            dates[static_cast<size_t>(d)] = firstDay.addDays(d).toString(Qt::ISODate).toStdString();
        std::vector<std::string> times(static_cast<size_t>(perDay));
        for (int s = 0; s < perDay; ++s) {
            const int seconds = 8 * 3600 + static_cast<int>(static_cast<qint64>(s) * 9 * 3600 / perDay);
            times[static_cast<size_t>(s)] =
                QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss")).toStdString();
        }
        const std::string issueWord = "Выдан", returnWord = "Сдан";
        SqliteStatement q(db,
                          "INSERT INTO History (ID, ID_U, ID_T, ADate, ATime, Operation, Note, FIO, IType, Model, "
                          "Organization, State) VALUES (?,?,?,?,?,?,'',?,?,?,?,?)");
        std::vector<std::string> toolModels(static_cast<size_t>(n.tools));
        for (int t = 0; t < n.tools; ++t) {
            const ToolRow& row = tools[static_cast<size_t>(t)];
            toolModels[static_cast<size_t>(t)] = std::string(kMakers[row.maker]) + ' ' + modelOf(row);
        }
        for (int i = 0; i < n.journal; ++i) {
            const JournalRow& e = journal[static_cast<size_t>(i)];
            const ToolRow& tool = tools[static_cast<size_t>(e.tool)];
            const std::string user = recipientCode(e.recipient);
            const std::string code = toolCode(e.tool);
            q.bind(1, i + 1);
            q.bind(2, user);
            q.bind(3, code);
            q.bind(4, dates[static_cast<size_t>(i / perDay)]);
            q.bind(5, times[static_cast<size_t>(i % perDay)]);
            q.bind(6, e.issue ? issueWord : returnWord);
            q.bind(7, names[static_cast<size_t>(e.recipient)]);
            q.bind(8, kToolTypes[tool.type]);
            q.bind(9, toolModels[static_cast<size_t>(e.tool)]);
            q.bind(10, kOrganizations[e.recipient % countOf(kOrganizations)]);
            q.bind(11, kStates[tool.state]);
            if (!q.run()) {
                m_error = db.error();
                return false;
            }
        }
    }

    for (const QString& sql : indexSql) {
        if (!db.exec(sql.toUtf8())) {
            m_error = db.error();
            return false;
        }
    }
    if (!db.exec("COMMIT") || !db.exec("PRAGMA wal_checkpoint(TRUNCATE)")) {
        m_error = db.error();
        return false;
    }
    return true; // closing the last connection folds the write-ahead log into the file
}

bool BenchDatabase::restore()
{
    for (const QString& db : {dbPath(), baselinePath()}) {
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(db + suffix);
        if (!QFile::copy(pristinePath(), db)) {
            m_error = QStringLiteral("cannot copy %1 to %2").arg(pristinePath(), db);
            return false;
        }
        QFile(db).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    // Settings as delivered, whatever the previous run wrote at its end.
    const QString ini = m_dir + QStringLiteral("/Data/Config.ini");
    QFile::remove(ini);
    if (!QFile::copy(QStringLiteral(TOOLDESK_DELIVERED_DATA "/Config.ini"), ini)) {
        m_error = QStringLiteral("cannot restore %1").arg(ini);
        return false;
    }
    QFile(ini).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    // The copy's pages would otherwise be written back during the timed
    // commits, whose syncs then wait for them.
    ::sync();
    return true;
}
