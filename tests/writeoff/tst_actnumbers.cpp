#include "writeoff/ActNumbers.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(std::optional<double>)

class TestActNumbers : public QObject
{
    Q_OBJECT

private slots:
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void totalOfRoundedPrices_data();
    void totalOfRoundedPrices();
    void priceAsStoredInLanguageFormat_data();
    void priceAsStoredInLanguageFormat();
};

void TestActNumbers::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<qint64>("rounded");
    QTest::newRow("10.5 down to even") << 10.5 << qint64(10);
    QTest::newRow("11.5 up to even") << 11.5 << qint64(12);
    QTest::newRow("0.5") << 0.5 << qint64(0);
    QTest::newRow("2.5") << 2.5 << qint64(2);
    QTest::newRow("below half") << 2.4999 << qint64(2);
    QTest::newRow("above half") << 2.5001 << qint64(3);
    QTest::newRow("whole") << 7.0 << qint64(7);
    QTest::newRow("negative half") << -2.5 << qint64(-2);
    QTest::newRow("negative odd half") << -3.5 << qint64(-4);
    QTest::newRow("negative above half") << -2.6 << qint64(-3);
    // 0.1 + 0.2 style binary noise must not move a four-decimal amount.
    QTest::newRow("binary noise") << (1.2 + 1.3) << qint64(2);
    QTest::newRow("large half") << 123456789012.5 << qint64(123456789012);
    QTest::newRow("beyond four decimals") << 3e14 + 0.5 << qint64(300000000000000);
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << qint64(0);
}

void TestActNumbers::roundsHalvesToEven()
{
    QFETCH(double, price);
    QFETCH(qint64, rounded);
    QCOMPARE(roundedPrice(price), rounded);
}

void TestActNumbers::totalOfRoundedPrices_data()
{
    QTest::addColumn<QList<ActTool>>("tools");
    QTest::addColumn<QString>("total");
    auto tool = [](std::optional<double> price) { return ActTool{QStringLiteral("x"), price, QStringLiteral("1")}; };
    QTest::newRow("no tools") << QList<ActTool>{} << QStringLiteral("0");
    QTest::newRow("10.5 + 20.5 is 10 + 20") << QList<ActTool>{tool(10.5), tool(20.5)} << QStringLiteral("30");
    QTest::newRow("each rounded, not the sum")
        << QList<ActTool>{tool(0.4), tool(0.4), tool(0.4)} << QStringLiteral("0");
    QTest::newRow("price missing adds nothing")
        << QList<ActTool>{tool(std::nullopt), tool(99.9)} << QStringLiteral("100");
    QTest::newRow("plain, no grouping") << QList<ActTool>{tool(1234567.0)} << QStringLiteral("1234567");
    QTest::newRow("negative") << QList<ActTool>{tool(-12.0)} << QStringLiteral("-12");
}

void TestActNumbers::totalOfRoundedPrices()
{
    QFETCH(QList<ActTool>, tools);
    QFETCH(QString, total);
    QCOMPARE(actTotalText(actTotal(tools)), total);
}

void TestActNumbers::priceAsStoredInLanguageFormat_data()
{
    QTest::addColumn<std::optional<double>>("price");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("text");
    QTest::newRow("ru half") << std::optional<double>(10.5) << true << QStringLiteral("10,5");
    QTest::newRow("en half") << std::optional<double>(10.5) << false << QStringLiteral("10.5");
    QTest::newRow("ru whole") << std::optional<double>(1500.0) << true << QStringLiteral("1500");
    QTest::newRow("ru not rounded") << std::optional<double>(1234.56) << true << QStringLiteral("1234,56");
    QTest::newRow("en large, no grouping")
        << std::optional<double>(1234567.25) << false << QStringLiteral("1234567.25");
    QTest::newRow("ru negative") << std::optional<double>(-0.75) << true << QStringLiteral("-0,75");
    QTest::newRow("ru no price") << std::optional<double>() << true << QString();
}

void TestActNumbers::priceAsStoredInLanguageFormat()
{
    QFETCH(std::optional<double>, price);
    QFETCH(bool, russian);
    QFETCH(QString, text);
    QCOMPARE(actPriceText(price, russian), text);
}

QTEST_GUILESS_MAIN(TestActNumbers)
#include "tst_actnumbers.moc"
