// Amounts typed by hand: either decimal mark whatever the locale, digit
// groups as either language writes them, and nothing else.
#include "data/AmountText.h"

#include <QtTest>

class TestAmountText : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void TestAmountText::parse_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::addColumn<double>("value");
    for (bool russian : {true, false}) {
        const QByteArray tag = russian ? "RU: " : "EN: ";
        QTest::newRow(tag + "decimal comma") << russian << "1234,50" << true << 1234.5;
        QTest::newRow(tag + "decimal point") << russian << "1234.50" << true << 1234.5;
        QTest::newRow(tag + "whole") << russian << "  15 " << true << 15.0;
        QTest::newRow(tag + "negative") << russian << "-2,5" << true << -2.5;
        QTest::newRow(tag + "no leading digit") << russian << ",5" << true << 0.5;
        QTest::newRow(tag + "point groups, comma decimal") << russian << "1.234.567,5" << true << 1234567.5;
        QTest::newRow(tag + "comma groups, point decimal") << russian << "1,234,567.5" << true << 1234567.5;
        QTest::newRow(tag + "blank groups") << russian << "1 234 567,5" << true << 1234567.5;
        QTest::newRow(tag + "no-break blank groups") << russian << QStringLiteral("12\u00A0345.25") << true << 12345.25;
        QTest::newRow(tag + "a comma that cannot group") << russian << "12345,678" << true << 12345.678;
        QTest::newRow(tag + "letters") << russian << "12abc" << false << 0.0;
        QTest::newRow(tag + "exponent") << russian << "1e5" << false << 0.0;
        QTest::newRow(tag + "marks only") << russian << "," << false << 0.0;
        QTest::newRow(tag + "sign only") << russian << "-" << false << 0.0;
        QTest::newRow(tag + "empty") << russian << "" << false << 0.0;
        QTest::newRow(tag + "two decimal marks") << russian << "1,5,2" << false << 0.0;
        QTest::newRow(tag + "misplaced group") << russian << "12 34,5" << false << 0.0;
        QTest::newRow(tag + "group after the decimal mark") << russian << "1.5,234" << false << 0.0;
        QTest::newRow(tag + "blank in the fraction") << russian << "1,2 5" << false << 0.0;
        QTest::newRow(tag + "not a number") << russian << "nan" << false << 0.0;
    }
    // One mark before three digits: English groups with a comma, Russian does not.
    QTest::newRow("RU: 1,234") << true << "1,234" << true << 1.234;
    QTest::newRow("EN: 1,234") << false << "1,234" << true << 1234.0;
    QTest::newRow("RU: 1.234") << true << "1.234" << true << 1.234;
    QTest::newRow("EN: 1.234") << false << "1.234" << true << 1.234;
}

void TestAmountText::parse()
{
    QFETCH(bool, russian);
    QFETCH(QString, text);
    QFETCH(bool, read);
    QFETCH(double, value);
    const QLocale convention = russian ? QLocale(QLocale::Russian, QLocale::Russia)
                                       : QLocale(QLocale::English, QLocale::UnitedStates);
    const std::optional<double> amount = parseAmount(text, convention);
    QCOMPARE(amount.has_value(), read);
    if (read)
        QCOMPARE(*amount, value);
}

QTEST_GUILESS_MAIN(TestAmountText)
#include "tst_amounttext.moc"
