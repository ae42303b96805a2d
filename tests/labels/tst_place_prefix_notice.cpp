// Tool and worker codes that begin with the place labels' prefix: the
// administrator is told once at start and may choose another prefix, which
// is refused while it is empty, unfit or in use, and then stored and used.
#include "PrintedLabels.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "support/DeskFixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <optional>

namespace {

using SignIn = DeskFixture::SignIn;

// A site whose tools and workers were added before the start under test,
// with its place prefix (empty: the default).
struct Site {
    Site(const QString& prefix, const QStringList& tools, const QStringList& workers)
        : first(QString(), SignIn::Operator)
    {
        if (!prefix.isEmpty())
            first.session().settings().setPlaceLabelPrefix(prefix);
        for (const QString& code : tools)
            first.addTool(code);
        for (const QString& code : workers)
            first.addRecipient(code);
    }
    DeskFixture first;
};

// The next start on the site's folder, answering its dialogs from fakes.
struct NextStart {
    NextStart(const Site& site, SignIn signIn, const std::function<void(FakeDialogs&)>& answers = {})
        : platform(fakes.platform())
        , app(site.first.data().folder(), platform)
    {
        DeskFixture::scriptSignIn(fakes.dialogs, signIn);
        if (answers)
            answers(fakes.dialogs);
        app.setTimersEnabled(false);
        started = app.start();
    }
    QStringList kinds() const
    {
        QStringList result;
        for (const auto& shown : fakes.dialogs.shown)
            result << shown.kind;
        return result;
    }
    FakePlatform fakes;
    Platform platform;
    Application app;
    bool started = false;
};

} // namespace

class TestPlacePrefixNotice : public QObject
{
    Q_OBJECT
private slots:
    void toldOnceToTheAdministrator_data();
    void toldOnceToTheAdministrator();
    void declinedOrCancelledKeepsThePrefix_data();
    void declinedOrCancelledKeepsThePrefix();
    void chosenPrefixIsStoredAndUsed();
};

void TestPlacePrefixNotice::toldOnceToTheAdministrator_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("tools");
    QTest::addColumn<QStringList>("workers");
    QTest::addColumn<bool>("operatorSignsIn");
    QTest::addColumn<int>("count");     // codes that begin with the prefix; 0: no notice
    QTest::addColumn<QString>("named"); // as the notice names them
    QTest::newRow("no code begins with it")
        << "" << QStringList{"T-1", "XPL-1"} << QStringList{"W-PL-2"} << false << 0 << "";
    QTest::newRow("a tool's code in other letters")
        << "" << QStringList{"T-1", "pl-7"} << QStringList{} << false << 1 << "pl-7";
    QTest::newRow("a worker's code") << "" << QStringList{"T-1"} << QStringList{"PL-W1"} << false << 1 << "PL-W1";
    QTest::newRow("the operator is not told") << "" << QStringList{"PL-1"} << QStringList{"PL-2"} << true << 0 << "";
    QTest::newRow("many: the first few, tools first")
        << "" << QStringList{"PL-1", "PL-2", "X-3", "PL-4"} << QStringList{"PL-5", "PL-6"} << false << 5
        << "PL-1, PL-2, PL-4, ...";
    // The prefix is not a pattern.
    QTest::newRow("underscore taken literally") << "A_" << QStringList{"AB-1"} << QStringList{} << false << 0 << "";
    QTest::newRow("underscore in a code") << "A_" << QStringList{"AB-1", "a_2"} << QStringList{} << false << 1 << "a_2";
    QTest::newRow("percent taken literally") << "5%" << QStringList{"55-1", "5-1"} << QStringList{} << false << 0 << "";
    QTest::newRow("Cyrillic in other letters")
        << "МЕСТО-" << QStringList{"место-1"} << QStringList{"Место"} << false << 1 << "место-1";
}

void TestPlacePrefixNotice::toldOnceToTheAdministrator()
{
    QFETCH(QString, prefix);
    QFETCH(QStringList, tools);
    QFETCH(QStringList, workers);
    QFETCH(bool, operatorSignsIn);
    QFETCH(int, count);
    QFETCH(QString, named);
    Site site(prefix, tools, workers);
    NextStart start(site, operatorSignsIn ? SignIn::Operator : SignIn::Administrator);
    QVERIFY(start.started);
    QCOMPARE(start.app.session().isAdministrator(), !operatorSignsIn);
    if (count == 0) {
        QCOMPARE(start.kinds(), QStringList{"modal"}); // the sign-in alone
        return;
    }
    // After the sign-in, once; answered with OK, nothing more is asked.
    QCOMPARE(start.kinds(), (QStringList{"modal", "offer"}));
    const Messages& t = start.app.session().texts();
    const QString used = prefix.isEmpty() ? QStringLiteral("PL-") : prefix;
    // The offer's text, then its button.
    QCOMPARE(start.fakes.dialogs.shown.last().text,
             t.rsPlacePrefixInUse.arg(used).arg(count).arg(named) + u'|' + t.rsChoosePlacePrefix);
    QCOMPARE(start.app.session().settings().placeLabelPrefix(), used);
}

void TestPlacePrefixNotice::declinedOrCancelledKeepsThePrefix_data()
{
    QTest::addColumn<bool>("choose");
    QTest::addColumn<QList<std::optional<QString>>>("typed");
    QTest::addColumn<QStringList>("kinds"); // what the start shows after the sign-in
    QTest::newRow("OK") << false << QList<std::optional<QString>>{} << QStringList{"offer"};
    QTest::newRow("cancelled") << true << QList<std::optional<QString>>{std::nullopt} << QStringList{"offer", "input"};
    QTest::newRow("refused, then cancelled")
        << true << QList<std::optional<QString>>{QStringLiteral("pl-"), std::nullopt}
        << QStringList{"offer", "input", "message", "input"};
}

void TestPlacePrefixNotice::declinedOrCancelledKeepsThePrefix()
{
    QFETCH(bool, choose);
    QFETCH(QList<std::optional<QString>>, typed);
    QFETCH(QStringList, kinds);
    Site site(QString(), {QStringLiteral("PL-1")}, {});
    const QString iniBefore = site.first.data().readIni();
    NextStart start(site, SignIn::Administrator, [&](FakeDialogs& d) {
        d.offerAnswers = {choose};
        for (const auto& answer : typed)
            d.inputAnswers.push_back(answer);
    });
    QVERIFY(start.started);
    QCOMPARE(start.kinds(), QStringList{"modal"} + kinds);
    QCOMPARE(start.app.session().settings().placeLabelPrefix(), QStringLiteral("PL-"));
    QCOMPARE(site.first.data().readIni(), iniBefore);
}

void TestPlacePrefixNotice::chosenPrefixIsStoredAndUsed()
{
    Site site(QString(), {QStringLiteral("PL-1"), QStringLiteral("SH-9")}, {QStringLiteral("pl-2")});
    NextStart start(site, SignIn::Administrator, [](FakeDialogs& d) {
        d.offerAnswers = {true};
        for (const char* typed : {"  ", "sh-", "SH 1", "ABCDEFGHIJK", "  SHELF- "})
            d.inputAnswers.push_back(QString::fromLatin1(typed));
    });
    QVERIFY(start.started);
    const Messages& t = start.app.session().texts();
    // Each refusal names its cause, and the prefix is asked for again.
    QCOMPARE(start.fakes.dialogs.texts("message"),
             (QStringList{t.rsPlacePrefixEmpty, t.rsPlacePrefixAlsoUsed.arg("sh-", "SH-9"),
                          t.rsPlacePrefixUnfit.arg("SH 1").arg(10), t.rsPlacePrefixUnfit.arg("ABCDEFGHIJK").arg(10),
                          t.rsPlacePrefixChanged.arg("SHELF-", "PL-")}));
    QCOMPARE(start.fakes.dialogs.texts("input").size(), 5);
    QCOMPARE(start.fakes.dialogs.texts("error"), QStringList());
    QVERIFY2(site.first.data().readIni().contains(u"PlaceLabelPrefix=SHELF-\n")
                 || site.first.data().readIni().contains(u"PlaceLabelPrefix=SHELF-\r\n"),
             qPrintable(site.first.data().readIni()));

    // The place labels print the new prefix.
    QWidget* dict = start.app.window(QStringLiteral("TfmDict_Mesto"));
    QVERIFY(dict);
    DeskFixture::find<QLineEdit>(*dict, "edField")->setText(QStringLiteral("Стеллаж 1"));
    DeskFixture::find<QPushButton>(*dict, "btAdd")->click();
    const qint64 key = site.first.db().scalar(QStringLiteral("SELECT MAX(ID) FROM MESTO")).toLongLong();
    start.fakes.dialogs.modalScripts.push_back(
        [](QDialog& window) { DeskFixture::find<QPushButton>(window, "btLabels")->click(); });
    start.fakes.dialogs.modalScripts.push_back([](QDialog& labels) {
        DeskFixture::find<QRadioButton>(labels, "rbChosen")->setChecked(true);
        DeskFixture::find<QPushButton>(labels, "btOK")->click();
    });
    start.app.openDictionary(DictionaryKind::Mesto);
    QCOMPARE(start.fakes.shell.opened.size(), 1);
    const QList<QImage> pages = PrintedLabels::render(start.fakes.shell.opened.first(), 300);
    QVERIFY(!pages.isEmpty());
    const auto symbols = PrintedLabels::zxing(PrintedLabels::crop(pages.first(), QRectF(0, 0.5, 70, 37), 300));
    QCOMPARE(symbols.size(), 1);
    QCOMPARE(symbols.first().text, QStringLiteral("SHELF-%1").arg(key));

    // The next administrator's start has nothing to tell.
    NextStart again(site, SignIn::Administrator);
    QVERIFY(again.started);
    QCOMPARE(again.kinds(), QStringList{"modal"});
}

QTEST_MAIN(TestPlacePrefixNotice)
#include "tst_place_prefix_notice.moc"
