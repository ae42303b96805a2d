#include "support/MappedLibrary.h"
#include "writeoff/ZipPackage.h"

#include <QtTest>

// Linked without libzip, as the program is: the package loads it itself.
class TestZipPackage : public QObject
{
    Q_OBJECT

private slots:
    void libraryLoadedOnFirstUse();
    void entriesComeBackAsWritten();
    void refusesWhatIsNoZip_data();
    void refusesWhatIsNoZip();
};

void TestZipPackage::libraryLoadedOnFirstUse()
{
    QVERIFY2(!libraryMapped("libzip.so"), "libzip is loaded before any archive is touched");
    ZipPackage package;
    package.put(QStringLiteral("a.txt"), "a");
    QVERIFY2(!package.write().isEmpty(), qPrintable(package.errorString()));
    QVERIFY(libraryMapped("libzip.so"));
}

void TestZipPackage::entriesComeBackAsWritten()
{
    ZipPackage written;
    written.put(QStringLiteral("[Content_Types].xml"), QByteArray(5000, 'x'));
    written.put(QStringLiteral("word/документ.xml"), QStringLiteral("акт").toUtf8());
    written.put(QStringLiteral("empty"), QByteArray());
    written.put(QStringLiteral("[Content_Types].xml"), "replaced"); // same name: replaced in place
    const QByteArray bytes = written.write(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    QVERIFY2(!bytes.isEmpty(), qPrintable(written.errorString()));

    ZipPackage read;
    QVERIFY2(read.read(bytes), qPrintable(read.errorString()));
    QCOMPARE(read.entries().size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(read.entries()[i].name, written.entries()[i].name);
        QCOMPARE(read.entries()[i].data, written.entries()[i].data);
    }
    QVERIFY(read.find(QStringLiteral("missing")) == nullptr);
}

void TestZipPackage::refusesWhatIsNoZip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QByteArray("not an archive at all");
    ZipPackage one;
    one.put(QStringLiteral("a.txt"), QByteArray(100, 'a'));
    QTest::newRow("cut short") << one.write().left(30);
}

void TestZipPackage::refusesWhatIsNoZip()
{
    QFETCH(QByteArray, bytes);
    ZipPackage package;
    package.put(QStringLiteral("kept"), "x");
    QVERIFY(!package.read(bytes));
    QVERIFY(!package.errorString().isEmpty());
}

QTEST_GUILESS_MAIN(TestZipPackage)
#include "tst_zippackage.moc"
