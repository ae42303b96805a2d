#include "Session.h"

#include "DeskSelection.h"
#include "Settings.h"
#include "data/Schema.h"

Session::Session(const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_connection(std::make_unique<Connection>())
    , qHistory(*m_connection)
    , qTools(*m_connection)
    , qUsers(*m_connection)
    , qOper(*m_connection)
    , qStat(*m_connection)
    , qWorkTypes(*m_connection)
    , m_paths(programFolder)
    , m_settings(std::make_unique<Settings>(m_paths.ini))
{
    m_desk = std::make_unique<DeskSelection>(*this);
}

Session::~Session() = default;

void Session::open(const std::function<void()>& beforeUpgrade)
{
    m_connection->open(m_paths.database);
    qHistory.setSql(Schema::historySql());
    qHistory.open();
    qUsers.setSql(QStringLiteral("SELECT * FROM Users"));
    qUsers.open();
    Schema schema(*m_connection, qTools, qHistory, beforeUpgrade);
    qTools.setSql(schema.toolsDesignSql());
    qTools.open();
    schema.upgrade();
    const SqlDialect& d = m_connection->dialect();
    qTools.setSql(QStringLiteral("SELECT * FROM Tools WHERE WriteOff<>%1 ORDER BY %2")
                      .arg(d.sqlTrue(), d.falseFirst(QStringLiteral("Passed"))));
    qTools.open();
    qOper.setSql(QStringLiteral("SELECT * FROM Operations"));
    qOper.open();
    qStat.setSql(QStringLiteral("SELECT * FROM State"));
    qStat.open();
    qWorkTypes.setSql(QStringLiteral("SELECT * FROM WORKTYPES"));
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
