// Amounts of money as the program writes them in either language: grouped
// with two decimals, with the rouble sign, as stored, and rounded whole.
#include "data/MoneyText.h"

#include <QtTest>

#include <limits>

class TestMoneyText : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void gridFollowsTheDefaultConvention();
};

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// Russian writes a no-break space between digit groups and before the sign.
QString ru(const char* text)
{
    return QString::fromUtf8(text).replace(u'_', QChar(0x00A0));
}

} // namespace

void TestMoneyText::texts_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("grouped");
    QTest::addColumn<QString>("withSign");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<qint64>("whole");
    // clang-format off
    QTest::newRow("ru zero") << 0.0 << true << ru("0,00") << ru("0,00_₽") << "0" << qint64(0);
    QTest::newRow("en zero") << 0.0 << false << "0.00" << "₽0.00" << "0" << qint64(0);
    QTest::newRow("ru groups") << 1500.0 << true << ru("1_500,00") << ru("1_500,00_₽") << "1500" << qint64(1500);
    QTest::newRow("en groups") << 1500.0 << false << "1,500.00" << "₽1,500.00" << "1500" << qint64(1500);
    QTest::newRow("ru cents") << 10.5 << true << ru("10,50") << ru("10,50_₽") << "10,5" << qint64(10);
    QTest::newRow("en cents") << 10.5 << false << "10.50" << "₽10.50" << "10.5" << qint64(10);
    QTest::newRow("ru odd half") << 11.5 << true << ru("11,50") << ru("11,50_₽") << "11,5" << qint64(12);
    QTest::newRow("ru negative") << -1234.56 << true << ru("-1_234,56") << ru("-1_234,56_₽") << "-1234,56" << qint64(-1235);
    // English writes a negative sum in brackets, as US accounts do.
    QTest::newRow("en negative") << -1234.56 << false << "-1,234.56" << "(₽1,234.56)" << "-1234.56" << qint64(-1235);
    QTest::newRow("en negative half") << -2.5 << false << "-2.50" << "(₽2.50)" << "-2.5" << qint64(-2);
    // Two decimals round the stored four the usual way.
    QTest::newRow("ru third decimal up") << 0.125 << true << ru("0,13") << ru("0,13_₽") << "0,125" << qint64(0);
    QTest::newRow("en third decimal down") << 99.994 << false << "99.99" << "₽99.99" << "99.994" << qint64(100);
    QTest::newRow("ru large") << 123456789012.5 << true << ru("123_456_789_012,50") << ru("123_456_789_012,50_₽")
                              << "123456789012,5" << qint64(123456789012);
    QTest::newRow("en large") << 1234567890.25 << false << "1,234,567,890.25" << "₽1,234,567,890.25"
                              << "1234567890.25" << qint64(1234567890);
    QTest::newRow("ru not a number") << NaN << true << "nan" << ru("nan_₽") << "nan" << qint64(0);
    QTest::newRow("en infinite") << Inf << false << "inf" << "₽inf" << "inf" << qint64(0);
    QTest::newRow("ru minus infinite") << -Inf << true << "-inf" << ru("-inf_₽") << "-inf" << qint64(0);
    // clang-format on
}

void TestMoneyText::texts()
{
    QFETCH(double, amount);
    QFETCH(bool, russian);
    QFETCH(QString, grouped);
    QFETCH(QString, withSign);
    QFETCH(QString, plain);
    QFETCH(qint64, whole);
    QCOMPARE(amountText(amount, russian), grouped);
    QCOMPARE(amountText(amount, moneyConvention(russian)), grouped);
    QCOMPARE(moneyText(amount, russian), withSign);
    QCOMPARE(plainAmountText(amount, russian), plain);
    QCOMPARE(roundedPrice(amount), whole);
}

// Grids and labels have no language of their own: they write amounts in the
// default convention, which sign-in sets to the interface language's.
void TestMoneyText::gridFollowsTheDefaultConvention()
{
    const QLocale before;
    QLocale::setDefault(moneyConvention(false));
    QCOMPARE(amountText(1500.5, QLocale()), QStringLiteral("1,500.50"));
    QLocale::setDefault(moneyConvention(true));
    QCOMPARE(amountText(1500.5, QLocale()), ru("1_500,50"));
    QLocale::setDefault(before);
}

QTEST_GUILESS_MAIN(TestMoneyText)
#include "tst_moneytext.moc"
