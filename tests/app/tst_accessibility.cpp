// Every control a user reaches can be found by screen readers and desktop
// automation: named, captioned by a label, or carrying its hint; in both languages.
#include "recipients/TfmCard_U.h"
#include "support/DeskFixture.h"
#include "tools/TfmCard_T.h"

#include <QAccessible>
#include <QComboBox>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyControlHasAName_data();
    void everyControlHasAName();
    void valueLabelsReadTheirValue_data();
    void valueLabelsReadTheirValue();
};

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("RU") << "RU";
    QTest::newRow("EN") << "EN";
}

void TestAccessibility::everyControlHasAName()
{
    QFETCH(QString, language);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    QVERIFY(f.started());
    for (QWidget* window : f.app().windows()) {
        QSet<const QWidget*> buddies;
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() && !label->text().trimmed().isEmpty())
                buddies.insert(label->buddy());
        }
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w)
                || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w);
            const auto* button = qobject_cast<QAbstractButton*>(w);
            if (!input && !button)
                continue;
            // Inner parts of compound controls: a spin box's edit, a grid's headers
            // and corner, a drop-down's list.
            bool inner = qobject_cast<QHeaderView*>(w);
            for (const QWidget* owner = w->parentWidget(); owner && owner != window && !inner;
                 owner = owner->parentWidget())
                inner = qobject_cast<const QAbstractSpinBox*>(owner) || qobject_cast<const QAbstractItemView*>(owner)
                    || qobject_cast<const QComboBox*>(owner);
            if (inner)
                continue;
            QVERIFY2(!w->objectName().isEmpty(),
                     qPrintable(window->objectName() + ": a " + w->metaObject()->className() + " without a name"));
            const bool named = !w->accessibleName().trimmed().isEmpty() || buddies.contains(w)
                || (button && !button->text().trimmed().isEmpty());
            QVERIFY2(named, qPrintable(window->objectName() + "." + w->objectName()));
        }
    }
}

void TestAccessibility::valueLabelsReadTheirValue_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("label");
    // "buddy": the label captioning it; "batch": the batch countdown's text; empty: none.
    QTest::addColumn<QString>("caption");
    QTest::newRow("desk: recipient's code") << "TfmMain"
                                            << "DBText1"
                                            << "buddy";
    QTest::newRow("desk: recipient's name") << "TfmMain"
                                            << "DBText2"
                                            << "buddy";
    QTest::newRow("desk: department") << "TfmMain"
                                      << "DBText4"
                                      << "buddy";
    QTest::newRow("desk: tool's code") << "TfmMain"
                                       << "DBText5"
                                       << "buddy";
    QTest::newRow("desk: tool's model") << "TfmMain"
                                        << "DBText8"
                                        << "buddy";
    QTest::newRow("desk: batch countdown") << "TfmMain"
                                           << "lbPacketTimer"
                                           << "batch";
    QTest::newRow("recipient card: name") << "TfmCard_U"
                                          << "DBText2"
                                          << "buddy";
    QTest::newRow("recipient card: total") << "TfmCard_U"
                                           << "lbSUM"
                                           << "buddy";
    QTest::newRow("tool card: code") << "TfmCard_T"
                                     << "DBText1"
                                     << "buddy";
    QTest::newRow("tool card: serial") << "TfmCard_T"
                                       << "DBText4"
                                       << "buddy";
    QTest::newRow("tool list: count") << "TfmTools"
                                      << "lbRecordCount"
                                      << "";
    QTest::newRow("recipient list: count") << "TfmUsers"
                                           << "lbRecordCount"
                                           << "";
    QTest::newRow("settings: database") << "TfmSettings"
                                        << "lbDatabase"
                                        << "buddy";
    QTest::newRow("settings: data folder") << "TfmSettings"
                                           << "lbDataFolder"
                                           << "buddy";
}

// The value shown is the accessible name, the caption the description, in
// both languages and after the value changes.
void TestAccessibility::valueLabelsReadTheirValue()
{
    QFETCH(QString, window);
    QFETCH(QString, label);
    QFETCH(QString, caption);
    DeskFixture f(QStringLiteral("[MAIN]\nShowRecordCount=1\n"));
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"), QStringLiteral("Иванов И.И."));
    f.addRecipient(QStringLiteral("U2"), QStringLiteral("Петров П.П."), QStringLiteral("Цех 3"), QStringLiteral("ОТК"));
    f.addTool(QStringLiteral("T1"));
    f.addTool(QStringLiteral("T2"), QStringLiteral("Пила"), QStringLiteral("Makita"), QStringLiteral("HS7601"));
    f.db().exec("UPDATE Tools SET Price=1234.5, SNumber='SN-1'", {});
    f.app().showToolList();
    f.app().showRecipientList();

    const auto check = [&](const char* when) {
        const QString where = window + u'.' + label + QStringLiteral(" (") + QLatin1String(when) + u')';
        QWidget* w = f.app().window(window);
        QLabel* value = nullptr;
        // The desk's own labels, not those of the pages embedded in it.
        for (QLabel* l : w->findChildren<QLabel*>(label)) {
            if (!value || l->window() == w->window())
                value = l;
        }
        QVERIFY2(value, qPrintable(where));
        QVERIFY2(!value->text().isEmpty(), qPrintable(where));
        QCOMPARE(value->accessibleName(), value->text());
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(value);
        QVERIFY(reader);
        QCOMPARE(reader->text(QAccessible::Name), value->text());
        QString expected;
        if (caption == u"buddy") {
            for (const QLabel* l : w->findChildren<QLabel*>()) {
                if (l->buddy() == value)
                    expected = l->text();
            }
            QVERIFY2(!expected.isEmpty(), qPrintable(where + QStringLiteral(": no caption is its buddy")));
        } else if (caption == u"batch") {
            expected = f.session().texts().rsBatchSecondsLeft;
        }
        QCOMPARE(value->accessibleDescription(), expected);
        QCOMPARE(reader->text(QAccessible::Description), expected);
    };
    const auto showValues = [&](const QString& recipient, const QString& tool) {
        f.scan(recipient);
        f.scan(tool);
        Query& users = f.session().qUsers;
        users.reopen();
        QVERIFY(users.locate(QStringLiteral("ID_User"), recipient));
        auto& userCard = f.window<TfmCard_U>("TfmCard_U");
        userCard.loadCurrentRecipient();
        userCard.FormShow();
        Query& tools = f.session().qTools;
        tools.reopen();
        QVERIFY(tools.locate(QStringLiteral("ID_Tool"), tool));
        auto& toolCard = f.window<TfmCard_T>("TfmCard_T");
        toolCard.loadCurrentTool();
        toolCard.FormShow();
    };

    showValues(QStringLiteral("U1"), QStringLiteral("T1"));
    check("first values, Russian");
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    check("English");
    showValues(QStringLiteral("U2"), QStringLiteral("T2"));
    check("new values");
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
