#include "DeskFixture.h"

#include "config/TfmCFG.h"
#include "config/TfmSettings.h"
#include "core/DeskSelection.h"
#include "core/Session.h"
#include "data/Connection.h"
#include "desk/TfmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

DeskFixture::DeskFixture(const QString& iniText, SignIn signIn)
    : DeskFixture(iniText, [signIn](FakePlatform& fakes) { scriptSignIn(fakes.dialogs, signIn); })
{
}

DeskFixture::DeskFixture(const QString& iniText, const std::function<void(FakePlatform&)>& beforeStart)
    : DeskFixture(iniText, [&beforeStart](FakePlatform& fakes, const TestData&) { beforeStart(fakes); })
{
}

DeskFixture::DeskFixture(const QString& iniText, const std::function<void(FakePlatform&, const TestData&)>& beforeStart)
    : m_platform(m_fakes.platform())
{
    if (!iniText.isNull())
        m_data.writeIni(iniText);
    if (PgTestDatabase::engineWanted()) {
        m_server = std::make_unique<PgTestDatabase>();
        m_data.writeIni(m_server->iniWith(m_data.readIni()));
    }
    beforeStart(m_fakes, m_data);
    m_app = std::make_unique<Application>(m_data.folder(), m_platform);
    m_app->setTimersEnabled(false);
    m_started = m_app->start();
    startupShown = m_fakes.dialogs.shown; // the first start's upgrade notice
    if (!m_started) {
        for (const auto& shown : std::as_const(startupShown))
            qWarning("the start showed %s: %s", qPrintable(shown.kind), qPrintable(shown.text));
    }
    m_fakes.dialogs.clear();
}

DeskFixture::~DeskFixture() = default;

void DeskFixture::scriptSignIn(FakeDialogs& dialogs, SignIn signIn)
{
    if (signIn == SignIn::None)
        return;
    dialogs.modalScripts.push_back([signIn](QDialog& window) {
        auto& cfg = static_cast<TfmCFG&>(window);
        if (signIn == SignIn::Administrator) {
            find<QLineEdit>(cfg, "edPass")->setText(QString::fromLatin1(kPassword));
            find<QPushButton>(cfg, "btAdm")->click();
        }
        if (!cfg.GoOperator)
            find<QPushButton>(cfg, "btOper")->click();
    });
}

TfmMain& DeskFixture::main() const
{
    return *m_app->main();
}

TfmSettings& DeskFixture::settings() const
{
    return window<TfmSettings>("TfmSettings");
}

DeskSelection& DeskFixture::desk() const
{
    return session().desk();
}

Connection& DeskFixture::db() const
{
    return session().connection();
}

void DeskFixture::markWrittenOff(const QString& toolCode) const
{
    db().exec(QStringLiteral("UPDATE Tools SET WriteOff=%1 WHERE ID_Tool=?").arg(db().dialect().sqlTrue()), {toolCode});
}

namespace {

QString refusalName(const QString& table, const QString& statement)
{
    return QStringLiteral("refuse_%1_%2").arg(statement, table).toLower();
}

} // namespace

void DeskFixture::acceptWrites(const QString& table, const QString& statement) const
{
    Connection& c = db();
    if (c.dialect().isServer())
        c.changeSchema(QStringLiteral("DROP TRIGGER %1 ON %2").arg(refusalName(table, statement), table));
    else
        c.changeSchema(QStringLiteral("DROP TRIGGER %1").arg(refusalName(table, statement)));
}

void DeskFixture::refuseWrites(const QString& table, const QString& statement) const
{
    Connection& c = db();
    const QString name = refusalName(table, statement);
    if (c.dialect().isServer()) {
        c.changeSchema(QStringLiteral("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                      "$$ BEGIN RAISE EXCEPTION 'disk says no'; END $$"));
        c.changeSchema(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION refuse()")
                           .arg(name, statement, table));
    } else {
        c.changeSchema(
            QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, 'disk says no'); END")
                .arg(name, statement, table));
    }
}

qint64 DeskFixture::addRecipient(const QString& code, const QString& fio, const QString& organization,
                                 const QString& department)
{
    db().exec(QStringLiteral("INSERT INTO Users (ID_User, FIO, Organization, Otdel) VALUES (?,?,?,?)"),
              {code, fio, organization, department});
    return db().scalar(QStringLiteral("SELECT MAX(ID) FROM Users")).toLongLong();
}

qint64 DeskFixture::addTool(const QString& code, const QString& type, const QString& maker, const QString& model,
                            const QString& state)
{
    db().exec(QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, Model, Tool_State, "
                             "Passed) VALUES (?,?,?,?,?,?,%1)")
                  .arg(db().dialect().sqlTrue()),
              {code, code, type, maker, model, state});
    return db().scalar(QStringLiteral("SELECT MAX(ID) FROM Tools")).toLongLong();
}

void DeskFixture::scan(const QString& code)
{
    QLineEdit* box = find<QLineEdit>(main(), "edInput");
    for (const QChar c : code) {
        // QTest knows keys for ASCII only; other letters come as text, as a
        // scanner under another keyboard layout sends them.
        if (c.unicode() < 0x80)
            QTest::keyClick(box, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QTest::keyClick(box, Qt::Key_Return);
}

QVariant DeskFixture::toolValue(const QString& code, const QString& column) const
{
    // The column name comes from the test itself, never from input.
    return db().scalar(
        QStringLiteral("SELECT %1 FROM Tools WHERE ID_Tool=?").arg(db().dialect().quoteIdentifier(column)), {code});
}

int DeskFixture::journalCount() const
{
    return db().scalar(QStringLiteral("SELECT COUNT(*) FROM History")).toInt();
}

QVariant DeskFixture::lastJournal(const QString& column) const
{
    return db().scalar(
        QStringLiteral("SELECT %1 FROM History ORDER BY ID DESC LIMIT 1").arg(db().dialect().quoteIdentifier(column)));
}

ProgramRun::ProgramRun(const QString& folder, DeskFixture::SignIn signIn, bool timers)
    : platform(fakes.platform())
    , app(folder, platform)
{
    DeskFixture::scriptSignIn(fakes.dialogs, signIn);
    app.setTimersEnabled(timers);
    started = app.start();
}

QString DeskFixture::deskMessage() const
{
    return control<QLabel>("TfmMain", "lbScanMessage")->accessibleName();
}

QString DeskFixture::deskStandingMessage() const
{
    auto* standing = control<QLabel>("TfmMain", "lbConnectionState");
    return standing->isHidden() ? QString() : standing->accessibleName();
}
