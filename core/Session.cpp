#include "Session.h"

#include "DatabaseSettings.h"
#include "DeskSelection.h"
#include "Settings.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "data/OriginalTables.h"
#include "data/Schema.h"

namespace {

// A server database that is neither empty nor the program's is another
// application's: the program neither lays its tables out beside those nor
// starts on it.
void refuseForeignDatabase(const Connection& db, const QStringList& tables)
{
    const QStringList missing = missingOriginalTables(tables);
    if (!missing.isEmpty())
        throw DbError(DbError::Cause::ForeignTables, db.path(),
                      QStringLiteral("the database holds no tables %1 of the program; its tables: %2")
                          .arg(missing.join(QStringLiteral(", ")), tables.join(QStringLiteral(", "))),
                      tables.join(QStringLiteral(", ")));
}

} // namespace

Session::Session(const QString& programFolder, QObject* parent)
    : Session(ProgramPaths(programFolder), parent)
{
}

Session::Session(const ProgramPaths& paths, QObject* parent)
    : QObject(parent)
    , m_connection(std::make_unique<Connection>())
    , qHistory(*m_connection)
    , qTools(*m_connection)
    , qUsers(*m_connection)
    , qOper(*m_connection)
    , qStat(*m_connection)
    , qWorkTypes(*m_connection)
    , m_paths(paths)
    , m_settings(std::make_unique<Settings>(m_paths.ini))
{
    m_desk = std::make_unique<DeskSelection>(*this);
}

Session::~Session() = default;

void Session::open(const std::function<void()>& beforeUpgrade)
{
    m_connection->open(DatabaseSettings::read(m_paths.ini, m_paths.database));
    // The storekeeper is told once, however many steps follow.
    bool told = false;
    const std::function<void()> tellOnce = [&] {
        if (!told && beforeUpgrade)
            beforeUpgrade();
        told = true;
    };
    if (m_connection->dialect().isServer()) {
        const QStringList tables = m_connection->userTables();
        if (tables.isEmpty()) {
            // An empty database the administrator made for the program: its
            // first tables, then the upgrade brings them to today's layout.
            tellOnce();
            createOriginalTables(*m_connection);
        } else {
            refuseForeignDatabase(*m_connection, tables);
        }
    }
    Schema(*m_connection, tellOnce).upgrade();
    qHistory.setStatement(Schema::withToolColumns(Schema::history()));
    qHistory.open();
    qUsers.setStatement(Select(col::Users::Table));
    qUsers.open();
    const SqlDialect& d = m_connection->dialect();
    qTools.setStatement(Select(col::Tools::Table)
                            .where(col::Tools::WriteOff + QStringLiteral("<>") + d.sqlTrue())
                            .orderBy(d.falseFirst(col::Tools::Passed)));
    qTools.open();
    qOper.setStatement(Select(col::Operations::Table));
    qOper.open();
    qStat.setStatement(Select(col::State::Table));
    qStat.open();
    qWorkTypes.setStatement(Select(col::WORKTYPES::Table));
    qWorkTypes.open();
    m_desk->open();
}

void Session::setLanguage(const QString& code)
{
    const QString upper = code.trimmed().toUpper();
    if (upper != u"RU" && upper != u"EN")
        return;
    m_language = upper;
    setMessages(m_texts, russian());
    emit languageChanged();
}

void Session::setAccessMode(AccessMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit accessModeChanged(mode);
}

void Session::setDeliveredPassword(bool inUse)
{
    if (inUse == m_deliveredPassword)
        return;
    m_deliveredPassword = inUse;
    emit deliveredPasswordChanged(inUse);
}
