// The sign-in window: who is at the desk, the password digest, its change,
// and the language box.
#include "config/TfmCFG.h"
#include "core/IniFile.h"
#include "core/Messages.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

using Script = std::function<void(TfmCFG&)>;

// A program whose sign-in window is answered by script.
std::unique_ptr<DeskFixture> startWith(const QString& ini, const Script& script)
{
    return std::make_unique<DeskFixture>(ini, [script](FakePlatform& fakes) {
        fakes.dialogs.modalScripts.push_back([script](QDialog& w) { script(static_cast<TfmCFG&>(w)); });
    });
}

QString iniWithHash(const QString& hash, const QString& extra = {})
{
    return QStringLiteral("[MAIN]\nLenguage=RU\nHash=%1\n%2").arg(hash, extra);
}

const QString kWrong = QStringLiteral("Введен неверный пароль, повторите ввод!");

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT
private slots:
    void digestIsUpperHexMd5OfTrimmedUtf8_data();
    void digestIsUpperHexMd5OfTrimmedUtf8();
    void administratorPassword_data();
    void administratorPassword();
    void enterInPasswordBoxSignsIn();
    void operatorMode();
    void closingWithoutRoleEndsTheProgram();
    void passwordChange_data();
    void passwordChange();
    void failedPasswordWriteKeepsOldPassword();
    void languageBox_data();
    void languageBox();
    void languageChangeMakesCaptionPlain();
};

void TestSignIn::digestIsUpperHexMd5OfTrimmedUtf8_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("digest");
    QTest::newRow("admin") << "admin"
                           << "21232F297A57A5A743894A0E4A801FC3";
    QTest::newRow("blanks and controls around") << " \t admin\r\n"
                                                << "21232F297A57A5A743894A0E4A801FC3";
    QTest::newRow("inside kept") << "ad min"
                                 << "8A24D08CD450C4D85D0E498359A04FB5";
    QTest::newRow("empty") << ""
                           << "D41D8CD98F00B204E9800998ECF8427E";
    QTest::newRow("Cyrillic over UTF-8") << "пароль"
                                         << "E242F36F4F95F12966DA8FA2EFD59992";
}

void TestSignIn::digestIsUpperHexMd5OfTrimmedUtf8()
{
    QFETCH(QString, password);
    QFETCH(QString, digest);
    QCOMPARE(TfmCFG::digest(password), digest);
}

void TestSignIn::administratorPassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("admin");
    const QString admin = QStringLiteral("21232F297A57A5A743894A0E4A801FC3");
    QTest::newRow("right") << admin << "admin" << true;
    QTest::newRow("blanks around") << admin << "  admin " << true;
    QTest::newRow("other letter case") << admin << "Admin" << false;
    QTest::newRow("empty box against a password") << admin << "" << false;
    QTest::newRow("empty password stored") << "D41D8CD98F00B204E9800998ECF8427E"
                                           << "" << true;
    QTest::newRow("stored digest in lower case") << admin.toLower() << "admin" << false;
    QTest::newRow("non-ASCII") << "0D539A6138C37EDE9F50D57F28AA1E70"
                               << "Пароль-1" << true;
    QTest::newRow("no digest stored") << QString() << "MD5" << false;
}

void TestSignIn::administratorPassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, admin);
    bool clearedAfterWrong = false;
    QPushButton* editButton = nullptr; // one of the editing buttons the administrator alone may use
    bool disabledWhileSigningIn = false;
    auto f = startWith(stored.isNull() ? QStringLiteral("[MAIN]\n") : iniWithHash(stored), [&](TfmCFG& cfg) {
        TfmMain* main = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            main = main ? main : qobject_cast<TfmMain*>(top);
        editButton = DeskFixture::find<QPushButton>(*DeskFixture::find<QWidget>(*main, "TfmTools"), "Button2");
        disabledWhileSigningIn = !editButton->isEnabled()
            && !DeskFixture::find<QPushButton>(*main, "btWriteOff")->isVisibleTo(main)
            && DeskFixture::find<QPushButton>(*main, "btSettings")->isVisibleTo(main);
        DeskFixture::find<QLineEdit>(cfg, "edPass")->setText(typed);
        DeskFixture::find<QPushButton>(cfg, "btAdm")->click();
        clearedAfterWrong = DeskFixture::find<QLineEdit>(cfg, "edPass")->text().isEmpty();
        if (!cfg.GoOperator)
            DeskFixture::find<QPushButton>(cfg, "btOper")->click(); // a wrong password keeps the window open
    });
    QVERIFY(f->started());
    TfmMain& m = f->main();
    QCOMPARE(f->session().isAdministrator(), admin);
    QCOMPARE(f->fakes().dialogs.texts("message").contains(kWrong) || f->startupShown.size() > 0, true);
    bool wrongShown = false;
    for (const auto& s : f->startupShown)
        wrongShown = wrongShown || s.text == kWrong;
    QCOMPARE(wrongShown, !admin);
    QCOMPARE(clearedAfterWrong, !admin || typed.isEmpty());
    QCOMPARE(m.windowTitle(),
             admin ? QStringLiteral("Выдача инструмента | АДМИНИСТРАТОР")
                   : QStringLiteral("Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!"));
    QCOMPARE(f->control<QPushButton>("TfmMain", "btSettings")->isVisibleTo(&m), admin);
    QVERIFY(disabledWhileSigningIn);
    QCOMPARE(editButton->isEnabled(), admin);
    QVERIFY(m.FormStarted);
}

void TestSignIn::enterInPasswordBoxSignsIn()
{
    auto f = startWith(QString(), [](TfmCFG& cfg) {
        QTest::keyClicks(DeskFixture::find<QLineEdit>(cfg, "edPass"), QString::fromLatin1(DeskFixture::kPassword));
        QTest::keyClick(DeskFixture::find<QLineEdit>(cfg, "edPass"), Qt::Key_Return);
    });
    QVERIFY(f->started());
    QVERIFY(f->session().isAdministrator());
}

void TestSignIn::operatorMode()
{
    auto f = startWith(QString(), [&](TfmCFG& cfg) { DeskFixture::find<QPushButton>(cfg, "btOper")->click(); });
    QVERIFY(f->started());
    TfmMain& m = f->main();
    QVERIFY(!f->session().isAdministrator());
    QVERIFY(!f->control<QPushButton>("TfmMain", "btSettings")->isVisibleTo(&m));
    QVERIFY(!f->control<QPushButton>("TfmMain", "btWriteOff")->isVisibleTo(&m));
    QVERIFY(m.FormStarted);
    QCOMPARE(m.windowTitle(),
             QStringLiteral("Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!"));
}

void TestSignIn::closingWithoutRoleEndsTheProgram()
{
    DeskFixture f(QString(), DeskFixture::SignIn::None);
    QVERIFY(!f.started());
    QVERIFY(!f.main().FormStarted);
    QVERIFY(!f.main().isVisible());
}

void TestSignIn::passwordChange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::optional<QString>>("newPassword");
    QTest::addColumn<QString>("storedDigestAfter");
    QTest::addColumn<QStringList>("messages");
    const QString changed = QStringLiteral("Пароль администратора был изменен!");
    QTest::newRow("changed, blanks trimmed") << "admin" << std::optional<QString>(" new pass ")
                                             << "283BD86FA05ABE286A00D008159F3B74" << QStringList{changed};
    QTest::newRow("empty new password") << "admin" << std::optional<QString>(QString())
                                        << "D41D8CD98F00B204E9800998ECF8427E" << QStringList{changed};
    QTest::newRow("cancelled") << "admin" << std::optional<QString>() << "21232F297A57A5A743894A0E4A801FC3"
                               << QStringList{};
    QTest::newRow("wrong password asks nothing")
        << "nope" << std::optional<QString>("x") << "21232F297A57A5A743894A0E4A801FC3" << QStringList{kWrong};
}

void TestSignIn::passwordChange()
{
    QFETCH(QString, typed);
    QFETCH(std::optional<QString>, newPassword);
    QFETCH(QString, storedDigestAfter);
    QFETCH(QStringList, messages);
    auto f = std::make_unique<DeskFixture>(QString(), [&](FakePlatform& fakes) {
        fakes.dialogs.inputAnswers.push_back(newPassword);
        fakes.dialogs.modalScripts.push_back([&](QDialog& w) {
            auto& cfg = static_cast<TfmCFG&>(w);
            DeskFixture::find<QCheckBox>(cfg, "cbChatgePass")->setChecked(true);
            DeskFixture::find<QLineEdit>(cfg, "edPass")->setText(typed);
            DeskFixture::find<QPushButton>(cfg, "btAdm")->click();
            if (!cfg.GoOperator)
                DeskFixture::find<QPushButton>(cfg, "btOper")->click();
        });
    });
    QVERIFY(f->started());
    QStringList shownMessages, asked;
    for (const auto& s : f->startupShown) {
        if (s.kind == u"message" && !s.text.startsWith(QStringLiteral("Для начала")))
            shownMessages << s.text;
        if (s.kind == u"input")
            asked << s.text;
    }
    QCOMPARE(shownMessages, messages);
    QCOMPARE(asked.size(), typed == u"admin" ? 1 : 0);
    if (!asked.isEmpty())
        QCOMPARE(asked.first(), QStringLiteral("Change password|Новый пароль: |"));
    QCOMPARE(IniFile(f->data().iniPath()).read("MAIN", "Hash").value_or(QString()), storedDigestAfter);
}

void TestSignIn::failedPasswordWriteKeepsOldPassword()
{
    auto f = std::make_unique<DeskFixture>(QString(), [&](FakePlatform& fakes, const TestData& data) {
        fakes.dialogs.inputAnswers.push_back(QStringLiteral("secret"));
        fakes.dialogs.modalScripts.push_back([&, iniPath = data.iniPath()](QDialog& w) {
            auto& cfg = static_cast<TfmCFG&>(w);
            // The settings file turns read-only while the window is open.
            QVERIFY(QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            DeskFixture::find<QCheckBox>(cfg, "cbChatgePass")->setChecked(true);
            DeskFixture::find<QLineEdit>(cfg, "edPass")->setText("admin");
            DeskFixture::find<QPushButton>(cfg, "btAdm")->click();
        });
    });
    QVERIFY(f->started());
    QCOMPARE(IniFile(f->data().iniPath()).read("MAIN", "Hash").value_or(QString()),
             QStringLiteral("21232F297A57A5A743894A0E4A801FC3"));
    QStringList messages;
    for (const auto& s : f->startupShown)
        messages << s.text;
    QVERIFY(messages.contains(QStringLiteral("Не удалось сохранить новый пароль: пароль администратора не изменен!")));
    QVERIFY(!messages.contains(QStringLiteral("Пароль администратора был изменен!")));
}

void TestSignIn::languageBox_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("operatorCaption");
    QTest::newRow("absent") << QString() << 0 << "RU"
                            << "Оператор";
    QTest::newRow("en") << "en" << 1 << "EN"
                        << "Operator";
    QTest::newRow("EN") << "EN" << 1 << "EN"
                        << "Operator";
    QTest::newRow("unknown: Russian") << "xx" << 0 << "RU"
                                      << "Оператор";
}

void TestSignIn::languageBox()
{
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(QString, written);
    QFETCH(QString, operatorCaption);
    const QString ini = stored.isNull() ? QStringLiteral("[MAIN]\n")
                                        : QStringLiteral("[MAIN]\nLenguage=%1\n").arg(stored);
    DeskFixture f(ini, DeskFixture::SignIn::Operator);
    QVERIFY(f.started());
    auto& cfg = f.window<TfmCFG>("TfmCFG");
    QCOMPARE(DeskFixture::find<QComboBox>(cfg, "cbLeng")->currentIndex(), index);
    QCOMPARE(IniFile(f.data().iniPath()).read("MAIN", "Lenguage").value_or(QString()), written);
    QCOMPARE(DeskFixture::find<QPushButton>(cfg, "btOper")->text(), operatorCaption);
    QVERIFY(!f.session().texts().rsWrongPassword.isEmpty());
}

void TestSignIn::languageChangeMakesCaptionPlain()
{
    QString titleAfterSwitch;
    QString entryAfterSwitch;
    auto f = startWith(QString(), [&](TfmCFG& cfg) {
        DeskFixture::find<QComboBox>(cfg, "cbLeng")->setCurrentIndex(1);
        DeskFixture::find<QComboBox>(cfg, "cbLeng")->setCurrentIndex(0); // and back: every text returns
        titleAfterSwitch = QStringLiteral("set");
        DeskFixture::find<QPushButton>(cfg, "btOper")->click();
    });
    QVERIFY(f->started());
    TfmMain& m = f->main();
    QCOMPARE(m.windowTitle(), QStringLiteral("Выдача инструмента")); // plain title after a switch
    QVERIFY(!f->session().isAdministrator());
    QCOMPARE(f->control<QPushButton>("TfmMain", "btSettings")->text(), QStringLiteral("Настройки"));
    QCOMPARE(IniFile(f->data().iniPath()).read("MAIN", "Lenguage").value_or(QString()), QStringLiteral("RU"));
}

QTEST_MAIN(TestSignIn)
#include "tst_signin.moc"
