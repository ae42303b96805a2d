#pragma once

#include "PgTestDatabase.h"
#include "TestData.h"
#include "app/Application.h"
#include "core/DeskSelection.h"
#include "core/Session.h"
#include "platform/fakes/FakePlatform.h"

#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>

class Connection;
class DeskSelection;
class Session;
class TfmMain;
class TfmSettings;

// A whole program started on its own temporary Data folder with fake seams:
// nothing is shown, played or opened, and no timer runs.
class DeskFixture
{
public:
    enum class SignIn { Administrator, Operator, None };
    // The delivered settings file's administrator password.
    static constexpr const char* kPassword = "admin";

    // iniText replaces the delivered settings file before the start. In
    // the PostgreSQL run of a test (TOOLDESK_TEST_ENGINE) the program works
    // on a new empty database of the test server instead of the file. The
    // administrator signs in with kPassword, and where that fails the
    // operator does; None closes the sign-in window without a role.
    explicit DeskFixture(const QString& iniText = {}, SignIn signIn = SignIn::Administrator);
    // beforeStart prepares the fakes (answers, the sign-in script) before the start.
    DeskFixture(const QString& iniText, const std::function<void(FakePlatform&)>& beforeStart);
    // The same, with the test's program folder at hand.
    DeskFixture(const QString& iniText, const std::function<void(FakePlatform&, const TestData&)>& beforeStart);
    ~DeskFixture();

    // Answers the next sign-in window of a program started on these fakes.
    static void scriptSignIn(FakeDialogs& dialogs, SignIn signIn);

    bool started() const { return m_started; }
    Application& app() { return *m_app; }
    Session& session() const { return m_app->session(); }
    DeskSelection& desk() const;
    TfmMain& main() const;
    TfmSettings& settings() const;
    Connection& db() const;
    // From now on the database refuses every such statement ("INSERT",
    // "UPDATE") on the table, as a full disk or a lost server would.
    void refuseWrites(const QString& table, const QString& statement) const;
    // Takes back refuseWrites.
    void acceptWrites(const QString& table, const QString& statement) const;
    // Marks a tool written off, as another desk's write-off would.
    void markWrittenOff(const QString& toolCode) const;

    // A window of the program by its object name, as its class.
    template<typename Window>
    Window& window(const char* name) const
    {
        QWidget* w = m_app->window(QLatin1String(name));
        if (!w)
            qFatal("no window %s", name);
        return *static_cast<Window*>(w);
    }
    // A control of a window by the two object names; the test fails at once without it.
    template<typename Control>
    Control* control(const char* windowName, const char* name) const
    {
        return find<Control>(window<QWidget>(windowName), name);
    }
    template<typename Control>
    static Control* find(const QWidget& parent, const char* name)
    {
        auto* c = parent.findChild<Control*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s in %s", name, qPrintable(parent.objectName()));
        return c;
    }
    FakePlatform& fakes() { return m_fakes; }
    const TestData& data() const { return m_data; }
    // The server database of the PostgreSQL run; null on the file.
    const PgTestDatabase* server() const { return m_server.get(); }

    // Rows for a test; each returns the new row's key.
    qint64 addRecipient(const QString& code, const QString& fio = QStringLiteral("Иванов И.И."),
                        const QString& organization = QStringLiteral("Цех 1"),
                        const QString& department = QStringLiteral("Отдел 2"));
    qint64 addTool(const QString& code, const QString& type = QStringLiteral("Дрель"),
                   const QString& maker = QStringLiteral("Bosch"), const QString& model = QStringLiteral("GSB 13"),
                   const QString& state = QStringLiteral("новый"));

    // Types a code into the entry box as a scanner does, ended by Enter.
    void scan(const QString& code);
    // What the desk's message line under the entry box says, as plain text:
    // of the last code, and the standing line of a database it cannot reach.
    QString deskMessage() const;
    QString deskStandingMessage() const;

    QVariant toolValue(const QString& code, const QString& column) const;
    int journalCount() const;
    // A column of the newest journal row.
    QVariant lastJournal(const QString& column) const;

    // What the start showed; the fake's own list starts empty for the test.
    QList<FakeDialogs::Shown> startupShown;

private:
    TestData m_data;
    std::unique_ptr<PgTestDatabase> m_server; // dropped after the program ends
    FakePlatform m_fakes;
    Platform m_platform;
    std::unique_ptr<Application> m_app;
    bool m_started = false;
};

// A program started on a folder the test keeps, for starts that must look at
// the folder before or after the program: nothing shown, no timer running.
struct ProgramRun {
    explicit ProgramRun(const QString& folder, DeskFixture::SignIn signIn = DeskFixture::SignIn::Administrator,
                        bool timers = false);

    FakePlatform fakes;
    Platform platform;
    Application app;
    bool started = false;
};
