// The last-resort catcher: a failure escaping an event handler is told once,
// in full, and the program goes on; an event handled normally passes through.
#include "app/GuardedApplication.h"
#include "data/DbError.h"
#include "platform/fakes/FakePlatform.h"

#include <QtTest>
#include <functional>
#include <stdexcept>

namespace {

using Handler = std::function<bool()>;

const QEvent::Type kProbe = QEvent::Type(QEvent::User + 1);

// Runs its handler for each probe event it receives.
class Receiver : public QObject
{
public:
    Handler handler;
    int handled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != kProbe)
            return QObject::event(e);
        ++handled;
        return handler();
    }
};

GuardedApplication& app()
{
    return *static_cast<GuardedApplication*>(QCoreApplication::instance());
}

} // namespace

Q_DECLARE_METATYPE(Handler)

class TestGuardedApplication : public QObject
{
    Q_OBJECT
private slots:
    void init() { app().setDialogs(&m_dialogs); }
    void cleanup()
    {
        app().setDialogs(nullptr);
        m_dialogs.clear();
    }
    void failureIsToldAndTheEventEnds_data();
    void failureIsToldAndTheEventEnds();
    void withoutDialogsTheFailureIsLogged();
    void failureInANestedEventLeavesTheOuterHandlerRunning();

private:
    FakeDialogs m_dialogs;
};

void TestGuardedApplication::failureIsToldAndTheEventEnds_data()
{
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("handled") << Handler([] { return true; }) << true << QStringList();
    QTest::newRow("not handled") << Handler([] { return false; }) << false << QStringList();
    QTest::newRow("database error") << Handler([]() -> bool {
        throw DbError(DbError::Cause::Busy, QStringLiteral("/data/DB.mdb"), QStringLiteral("database is locked"));
    }) << false << QStringList{QStringLiteral("/data/DB.mdb: database is locked")};
    QTest::newRow("database error without a file")
        << Handler([]() -> bool { throw DbError(QStringLiteral("no such table: Tools")); }) << false
        << QStringList{QStringLiteral("no such table: Tools")};
    QTest::newRow("standard error") << Handler([]() -> bool { throw std::runtime_error("disk says no"); }) << false
                                    << QStringList{QStringLiteral("disk says no")};
    QTest::newRow("non-latin text") << Handler([]() -> bool { throw std::runtime_error("нет места на диске"); })
                                    << false << QStringList{QStringLiteral("нет места на диске")};
    QTest::newRow("logic error") << Handler([]() -> bool { throw std::out_of_range("row 7 of 3"); }) << false
                                 << QStringList{QStringLiteral("row 7 of 3")};
}

void TestGuardedApplication::failureIsToldAndTheEventEnds()
{
    QFETCH(Handler, handler);
    QFETCH(bool, result);
    QFETCH(QStringList, errors);
    Receiver r;
    r.handler = handler;
    QEvent probe(kProbe);
    QCOMPARE(QCoreApplication::sendEvent(&r, &probe), result);
    QCOMPARE(r.handled, 1);
    QCOMPARE(m_dialogs.texts(QStringLiteral("error")), errors);
    QCOMPARE(m_dialogs.shown.size(), errors.size()); // nothing but the error

    // The program goes on: the next event reaches the receiver as usual.
    r.handler = [] { return true; };
    QVERIFY(QCoreApplication::sendEvent(&r, &probe));
    QCOMPARE(r.handled, 2);
    QCOMPARE(m_dialogs.shown.size(), errors.size());
}

void TestGuardedApplication::withoutDialogsTheFailureIsLogged()
{
    // Before the windows exist there is nothing to show a box with.
    app().setDialogs(nullptr);
    Receiver r;
    r.handler = []() -> bool { throw std::runtime_error("settings file unreadable"); };
    QEvent probe(kProbe);
    QTest::ignoreMessage(QtWarningMsg, "settings file unreadable");
    QVERIFY(!QCoreApplication::sendEvent(&r, &probe));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestGuardedApplication::failureInANestedEventLeavesTheOuterHandlerRunning()
{
    Receiver inner;
    inner.handler = []() -> bool { throw std::runtime_error("inner failed"); };
    Receiver outer;
    bool outerFinished = false;
    outer.handler = [&] {
        QEvent probe(kProbe);
        QCoreApplication::sendEvent(&inner, &probe);
        outerFinished = true;
        return true;
    };
    QEvent probe(kProbe);
    QVERIFY(QCoreApplication::sendEvent(&outer, &probe));
    QVERIFY(outerFinished);
    QCOMPARE(m_dialogs.texts(QStringLiteral("error")), QStringList{QStringLiteral("inner failed")});
}

int main(int argc, char** argv)
{
    GuardedApplication application(argc, argv);
    TestGuardedApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_guardedapplication.moc"
