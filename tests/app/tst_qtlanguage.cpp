// Qt's own dialog texts and the number convention follow the interface
// language, switched in the sign-in window.
#include "support/DeskFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class TestQtLanguage : public QObject
{
    Q_OBJECT
private slots:
    void followsTheSwitch();
};

void TestQtLanguage::followsTheSwitch()
{
    DeskFixture f;
    auto* language = f.control<QComboBox>("TfmCFG", "cbLeng");
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    const auto button = [] {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text().remove(u'&');
    };
    QCOMPARE(cancel(), QStringLiteral("Отмена")); // the program starts in Russian
    QCOMPARE(button(), QStringLiteral("Отмена"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    // Windows built before the switch follow it too: the report page's days.
    auto* day = f.control<QDateEdit>("TfmReport", "DateTimePicker1");
    QCOMPARE(day->locale().language(), QLocale::Russian);

    language->setCurrentIndex(1);
    QCOMPARE(day->locale().language(), QLocale::English);
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
    QCOMPARE(button(), QStringLiteral("Cancel"));
    QCOMPARE(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1,234.50"));

    language->setCurrentIndex(0);
    QCOMPARE(cancel(), QStringLiteral("Отмена"));
    QCOMPARE(QLocale().toString(1234.5, 'f', 2).replace(QChar(0x00A0), u' '), QStringLiteral("1 234,50"));
}

QTEST_MAIN(TestQtLanguage)
#include "tst_qtlanguage.moc"
