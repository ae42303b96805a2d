// While the administrator signs in with the password the program is
// delivered with, the settings page and the desk's message line say so, in
// the interface language, without a box and without touching the captions.
#include "config/TfmCFG.h"
#include "config/TfmSettings.h"
#include "core/AdminPassword.h"
#include "core/IniFile.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QString reminderOnSettingsPage(const DeskFixture& f)
{
    const auto* label = f.control<QLabel>("TfmSettings", "lbDeliveredPassword");
    if (!label->isVisibleTo(&f.settings()))
        return {};
    if (label->accessibleName() != label->text())
        qFatal("the reminder is not read out as shown");
    return label->text();
}

// Signs in as the administrator with the delivered password, changing it
// to newPassword on the way when asked to (none: the change is cancelled).
std::function<void(FakePlatform&)> adminSignIn(bool change, const std::optional<QString>& newPassword)
{
    return [change, newPassword](FakePlatform& fakes) {
        fakes.dialogs.modalScripts.push_back([change](QDialog& window) {
            DeskFixture::find<QCheckBox>(window, "cbChatgePass")->setChecked(change);
            DeskFixture::find<QLineEdit>(window, "edPass")->setText(QStringLiteral("admin"));
            DeskFixture::find<QPushButton>(window, "btAdm")->click();
        });
        if (newPassword)
            fakes.dialogs.inputAnswers.push_back(*newPassword);
    };
}

} // namespace

class TestDeliveredPassword : public QObject
{
    Q_OBJECT
private slots:
    void digestOfTheDeliveredPassword();
    void remindsUntilTheFirstScan_data();
    void remindsUntilTheFirstScan();
    void reminderFollowsTheSignIn_data();
    void reminderFollowsTheSignIn();
};

void TestDeliveredPassword::digestOfTheDeliveredPassword()
{
    QVERIFY(isDeliveredPasswordDigest(QStringLiteral("21232F297A57A5A743894A0E4A801FC3")));
    QVERIFY(!isDeliveredPasswordDigest(QStringLiteral("21232f297a57a5a743894a0e4a801fc3"))); // as sign-in compares
    QVERIFY(!isDeliveredPasswordDigest(adminPasswordDigest(QStringLiteral("Admin"))));
    QCOMPARE(adminPasswordDigest(QStringLiteral(" admin\t")), QStringLiteral("21232F297A57A5A743894A0E4A801FC3"));
    // The delivered settings file holds it, and nothing but its digest.
    const TestData data;
    QVERIFY(
        isDeliveredPasswordDigest(IniFile(data.iniPath()).read(QStringLiteral("MAIN"), QStringLiteral("Hash"), {})));
    QVERIFY(!data.readIni().contains(QStringLiteral("admin"), Qt::CaseInsensitive));
}

void TestDeliveredPassword::remindsUntilTheFirstScan_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("reminderStart");
    QTest::newRow("RU") << "RU" << QStringLiteral("Пароль администратора все еще тот");
    QTest::newRow("EN") << "EN" << QStringLiteral("The administrator password is still");
}

void TestDeliveredPassword::remindsUntilTheFirstScan()
{
    QFETCH(QString, language);
    QFETCH(QString, reminderStart);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\nHash=21232F297A57A5A743894A0E4A801FC3\n").arg(language),
                  adminSignIn(false, std::nullopt));
    QVERIFY(f.started());
    QVERIFY(f.session().isAdministrator());
    const QString reminder = f.session().texts().rsDeliveredPasswordInUse;
    QVERIFY2(reminder.startsWith(reminderStart), qPrintable(reminder));
    QVERIFY(reminder.contains(f.control<QCheckBox>("TfmCFG", "cbChatgePass")->text()));
    QCOMPARE(f.deskMessage(), reminder);
    QCOMPARE(reminderOnSettingsPage(f), reminder);
    QCOMPARE(f.main().windowTitle(), f.session().texts().rsCaptionAdmin);
    QCOMPARE(f.fakes().dialogs.texts(QStringLiteral("message")), QStringList());

    // The first scan's own message takes the line; the settings page keeps it.
    f.scan(QStringLiteral("NOSUCH"));
    QCOMPARE(f.deskMessage(), f.session().texts().rsCodeNotFound + QStringLiteral("NOSUCH"));
    f.addRecipient(QStringLiteral("U1"));
    f.scan(QStringLiteral("U1"));
    QCOMPARE(f.deskMessage(), QString());
    QCOMPARE(reminderOnSettingsPage(f), reminder);
}

void TestDeliveredPassword::reminderFollowsTheSignIn_data()
{
    QTest::addColumn<bool>("operatorSignsIn");
    QTest::addColumn<std::optional<QString>>("newPassword");
    QTest::addColumn<bool>("reminded");
    QTest::newRow("changed at this sign-in") << false << std::optional<QString>(QStringLiteral("s3cret")) << false;
    QTest::newRow("change cancelled") << false << std::optional<QString>() << true;
    QTest::newRow("changed to itself") << false << std::optional<QString>(QStringLiteral(" admin ")) << true;
    QTest::newRow("operator") << true << std::optional<QString>() << false;
}

void TestDeliveredPassword::reminderFollowsTheSignIn()
{
    QFETCH(bool, operatorSignsIn);
    QFETCH(std::optional<QString>, newPassword);
    QFETCH(bool, reminded);
    const auto signIn = operatorSignsIn ? std::function<void(FakePlatform&)>([](FakePlatform& fakes) {
        DeskFixture::scriptSignIn(fakes.dialogs, DeskFixture::SignIn::Operator);
    })
                                        : adminSignIn(true, newPassword);
    DeskFixture f(QStringLiteral("[MAIN]\nHash=21232F297A57A5A743894A0E4A801FC3\n"), signIn);
    QVERIFY(f.started());
    QCOMPARE(f.session().isAdministrator(), !operatorSignsIn);
    const QString expected = reminded ? f.session().texts().rsDeliveredPasswordInUse : QString();
    QCOMPARE(f.deskMessage(), expected);
    QCOMPARE(reminderOnSettingsPage(f), expected);
}

QTEST_MAIN(TestDeliveredPassword)
#include "tst_deliveredpassword.moc"
