// Labels as printed: each run written to PDF, rendered at 300 dpi and read by
// ZXing-C++ and zbarimg; every code must be found once per copy, in the
// sheet's order, in the box the layout's own numbers put it in.
#include "PrintedLabels.h"

#include "core/Messages.h"
#include "core/Settings.h"
#include "labels/LabelError.h"
#include "labels/LabelLayouts.h"
#include "labels/LabelRun.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kDpi = 300;

Messages english()
{
    Messages texts;
    setMessages(texts, false);
    return texts;
}

QList<LabelItem> itemsOf(const QStringList& codes)
{
    QList<LabelItem> items;
    for (const QString& code : codes)
        items.append({code, QStringLiteral("Дрель ") + code});
    return items;
}

LabelRequest requestFor(const QString& layout, LabelSymbol symbol, int skip = 0, int copies = 1)
{
    LabelRequest request;
    request.layout = *LabelLayouts::find(LabelLayouts::builtIn(), layout);
    request.symbol = symbol;
    request.skip = skip;
    request.copies = copies;
    return request;
}

// Where a sheet maker puts its labels: the first box, the step from box to
// box, the columns a row and the labels a page.
struct Geometry {
    QPointF first;
    QSizeF step;
    QSizeF label;
    int columns;
    int perPage;

    QRectF box(int slot) const
    {
        return {first + QPointF(slot % columns * step.width(), slot / columns * step.height()), label};
    }
};

QString zxingName(LabelSymbol s)
{
    return s == LabelSymbol::Code128 ? QStringLiteral("Code128")
        : s == LabelSymbol::Qr       ? QStringLiteral("QRCode")
                                     : QStringLiteral("DataMatrix");
}

} // namespace

Q_DECLARE_METATYPE(LabelSymbol)
Q_DECLARE_METATYPE(Geometry)

class TestLabels : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeIsReadAtItsPlace_data();
    void everyCodeIsReadAtItsPlace();
    void refusedCodesNameTheCodeAndTheWay_data();
    void refusedCodesNameTheCodeAndTheWay();
    void labelsSitWhereTheLayoutAndOffsetPutThem();
    void siteLayoutFile_data();
    void siteLayoutFile();
    void siteLayoutReplacesABuiltInOne();
    void offsetAndPrefixFromTheSettings_data();
    void offsetAndPrefixFromTheSettings();
};

void TestLabels::everyCodeIsReadAtItsPlace_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<LabelSymbol>("symbol");
    QTest::addColumn<Geometry>("geometry");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("copies");
    const auto code128 = LabelSymbol::Code128;
    const auto qr = LabelSymbol::Qr;
    const auto dm = LabelSymbol::DataMatrix;
    const QStringList ascii = {"T001", "T-0042", "AB12-x", "9"};
    const QStringList mixed = {"T001", "Т-РУС-1", "AB12-x"};
    // The A4 sheets' labels are centred on the page.
    const Geometry a4_70x37{{0, 0.5}, {70, 37}, {70, 37}, 3, 24};
    const Geometry a4_70x25{{0, 8.8}, {70, 25.4}, {70, 25.4}, 3, 33};
    const Geometry a4_48x25{{8, 21.5}, {48.5, 25.4}, {48.5, 25.4}, 4, 40};
    const Geometry a4_38x21{{10, 10.7}, {38, 21.2}, {38, 21.2}, 5, 65};
    const Geometry a4_105x57{{0, 6}, {105, 57}, {105, 57}, 2, 10};
    const auto roll = [](double w, double h) { return Geometry{{0, 0}, {w, h}, {w, h}, 1, 1}; };

    QTest::newRow("A4 70x37 Code 128") << "A4-70x37" << code128 << a4_70x37 << ascii << 0 << 1;
    QTest::newRow("A4 70x37 QR") << "A4-70x37" << qr << a4_70x37 << mixed << 0 << 1;
    QTest::newRow("A4 70x37 Data Matrix") << "A4-70x37" << dm << a4_70x37 << mixed << 0 << 1;
    QTest::newRow("A4 70x25.4 Code 128") << "A4-70x25.4" << code128 << a4_70x25 << ascii << 0 << 1;
    QTest::newRow("A4 48.5x25.4 Code 128") << "A4-48.5x25.4" << code128 << a4_48x25 << ascii << 0 << 1;
    QTest::newRow("A4 38x21.2 Code 128") << "A4-38x21.2" << code128 << a4_38x21 << ascii << 0 << 1;
    QTest::newRow("A4 38x21.2 QR, a long code")
        << "A4-38x21.2" << qr << a4_38x21 << QStringList{"TOOL-2026-000123-XL", "Т-РУС-1"} << 0 << 1;
    QTest::newRow("A4 38x21.2 Data Matrix") << "A4-38x21.2" << dm << a4_38x21 << mixed << 0 << 1;
    QTest::newRow("A4 105x57 QR") << "A4-105x57" << qr << a4_105x57 << mixed << 0 << 1;
    QTest::newRow("roll 62x29 Code 128") << "Roll-62x29" << code128 << roll(62, 29) << ascii << 0 << 1;
    QTest::newRow("roll 58x40 QR") << "Roll-58x40" << qr << roll(58, 40) << mixed << 0 << 1;
    QTest::newRow("roll 57x32 Data Matrix") << "Roll-57x32" << dm << roll(57, 32) << mixed << 0 << 1;
    QTest::newRow("roll 54x25 Code 128, copies")
        << "Roll-54x25" << code128 << roll(54, 25) << ascii.mid(0, 2) << 0 << 2;
    // A partly used sheet: the run starts on slot 22 and goes on to a second page.
    QTest::newRow("A4 70x37 skip and copies") << "A4-70x37" << code128 << a4_70x37 << ascii.mid(0, 3) << 22 << 2;
}

void TestLabels::everyCodeIsReadAtItsPlace()
{
    QFETCH(QString, layout);
    QFETCH(LabelSymbol, symbol);
    QFETCH(Geometry, geometry);
    QFETCH(QStringList, codes);
    QFETCH(int, skip);
    QFETCH(int, copies);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    const LabelRun run(itemsOf(codes), requestFor(layout, symbol, skip, copies), english());
    run.writePdf(pdf);

    const QList<QImage> pages = PrintedLabels::render(pdf, kDpi);
    const int last = skip + int(codes.size()) * copies - 1;
    QCOMPARE(pages.size(), last / geometry.perPage + 1);
    QHash<int, QStringList> codesOnPage;
    for (int position = 0; position <= last; ++position) {
        const int page = position / geometry.perPage;
        const QRectF box = geometry.box(position % geometry.perPage);
        const QList<PrintedLabels::Symbol> found = PrintedLabels::zxing(PrintedLabels::crop(pages.at(page), box, kDpi));
        if (position < skip) {
            QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("skipped slot %1 holds a symbol").arg(position)));
            continue;
        }
        const QString code = codes.at((position - skip) / copies);
        QVERIFY2(found.size() == 1,
                 qPrintable(QStringLiteral("slot %1 of page %2: %3 symbols, expected %4")
                                .arg(position % geometry.perPage)
                                .arg(page + 1)
                                .arg(found.size())
                                .arg(code)));
        QCOMPARE(found.first().text, code);
        QCOMPARE(found.first().format, zxingName(symbol));
        codesOnPage[page] << code;
    }
    // The slot after the last label is left blank.
    if ((last + 1) % geometry.perPage != 0) {
        const QRectF next = geometry.box((last + 1) % geometry.perPage);
        QVERIFY(PrintedLabels::zxing(PrintedLabels::crop(pages.last(), next, kDpi)).isEmpty());
    }
    // The second reader, on whole pages: the same codes, none other (zbar
    // tells copies of one code once).
    if (symbol != LabelSymbol::DataMatrix) {
        for (int page = 0; page < pages.size(); ++page) {
            QStringList read = PrintedLabels::zbar(pages.at(page));
            QStringList expected = codesOnPage.value(page);
            read.removeDuplicates();
            expected.removeDuplicates();
            read.sort();
            expected.sort();
            QCOMPARE(read, expected);
        }
    }
}

void TestLabels::refusedCodesNameTheCodeAndTheWay_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<LabelSymbol>("symbol");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    const Messages texts = english();
    const QString longCode = QStringLiteral("TOOL-2026-000123-XL");
    QTest::newRow("Cyrillic in Code 128")
        << "A4-70x37" << LabelSymbol::Code128 << "Т-РУС-1" << texts.rsLabelNotAscii.arg("Т-РУС-1");
    QTest::newRow("a tab in Code 128") << "A4-70x37" << LabelSymbol::Code128 << "T\t1"
                                       << texts.rsLabelNotAscii.arg("T\t1");
    QTest::newRow("too long for a small label")
        << "A4-38x21.2" << LabelSymbol::Code128 << longCode
        << texts.rsLabelDoesNotFit.arg(longCode, "A4-38x21.2", "Code 128", "0.25");
    const QString huge = QString(600, u'Q');
    QTest::newRow("too long for QR on a small label")
        << "Roll-54x25" << LabelSymbol::Qr << huge
        << texts.rsLabelDoesNotFit.arg(huge, "Roll-54x25", "QR Code", "0.25");
    const QString beyond = QString(4000, u'D');
    QTest::newRow("beyond any Data Matrix") << "A4-105x57" << LabelSymbol::DataMatrix << beyond
                                            << texts.rsLabelNotEncoded.arg(beyond, "Data Matrix").left(40);
}

void TestLabels::refusedCodesNameTheCodeAndTheWay()
{
    QFETCH(QString, layout);
    QFETCH(LabelSymbol, symbol);
    QFETCH(QString, code);
    QFETCH(QString, message);
    // A good code first: a refusal anywhere stops the whole run.
    const QList<LabelItem> items = {{QStringLiteral("T001"), {}}, {code, {}}};
    try {
        LabelRun run(items, requestFor(layout, symbol), english());
        QFAIL("the code was not refused");
    } catch (const LabelError& e) {
        QVERIFY2(e.text().startsWith(message), qPrintable(e.text()));
    }
}

void TestLabels::labelsSitWhereTheLayoutAndOffsetPutThem()
{
    // Boxes off round numbers, read at 1200 dpi (a pixel is 0.02 mm).
    constexpr int dpi = 1200;
    const LabelLayout layout = LabelLayouts::parse(
                                   QStringLiteral("Odd page=100x60 label=40x25 grid=2x2 margins=7.3,4.1 gaps=3.2,2.5"),
                                   QStringLiteral("Labels.txt"), english())
                                   .first();
    const QStringList codes = {"A1", "B22", "C333", "D4444"};
    LabelRequest request;
    request.layout = layout;
    request.symbol = LabelSymbol::Qr;
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.pdf"));
    const QString moved = dir.filePath(QStringLiteral("moved.pdf"));
    LabelRun(itemsOf(codes), request, english()).writePdf(plain);
    request.offset = QPointF(1.3, 0.7);
    LabelRun(itemsOf(codes), request, english()).writePdf(moved);

    const QImage plainPage = PrintedLabels::renderPart(plain, dpi, QRectF(0, 0, 100, 60));
    const QImage movedPage = PrintedLabels::renderPart(moved, dpi, QRectF(0, 0, 100, 60));
    // The page is given in whole points (Qt's PDF writer rounds it); the
    // boxes are placed from its top left corner.
    QVERIFY(qAbs(plainPage.width() - 100 / 25.4 * dpi) < 0.5 / 72 * dpi + 1);
    constexpr double tolerance = 0.1;
    for (int slot = 0; slot < 4; ++slot) {
        const QRectF box(7.3 + slot % 2 * 43.2, 4.1 + slot / 2 * 27.5, 40, 25);
        // Symbol and text are centred across the label.
        const QRectF ink =
            PrintedLabels::darkArea(PrintedLabels::crop(plainPage, box, dpi), dpi).translated(box.topLeft());
        QVERIFY2(qAbs(ink.center().x() - box.center().x()) < tolerance,
                 qPrintable(QStringLiteral("slot %1: ink centred at %2 mm, box at %3 mm")
                                .arg(slot)
                                .arg(ink.center().x())
                                .arg(box.center().x())));
        QVERIFY(box.contains(ink));
        const QRectF movedBox = box.translated(request.offset);
        const QRectF movedInk =
            PrintedLabels::darkArea(PrintedLabels::crop(movedPage, movedBox, dpi), dpi).translated(movedBox.topLeft());
        QVERIFY2(qAbs(movedInk.left() - ink.left() - 1.3) < tolerance
                     && qAbs(movedInk.top() - ink.top() - 0.7) < tolerance,
                 qPrintable(QStringLiteral("slot %1 moved by %2, %3 mm")
                                .arg(slot)
                                .arg(movedInk.left() - ink.left())
                                .arg(movedInk.top() - ink.top())));
    }
}

void TestLabels::siteLayoutFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: read
    const Messages t = english();
    QTest::newRow("sheet") << "# our sheets\n\nOwn page=210x297 label=64x33.9 grid=3x8 margins=7.2,13.1 gaps=2.5,0 "
                              "module=0.3  # Avery-like"
                           << QString();
    QTest::newRow("roll") << "Small label=40x20" << QString();
    QTest::newRow("unknown key") << "A page=100x100 label=10x10\nB page=100x100 lable=10x10"
                                 << t.rsLabelLayoutBadLine.arg("Labels.txt").arg(2).arg("lable=10x10");
    QTest::newRow("bad size") << "A page=100x label=10x10"
                              << t.rsLabelLayoutBadLine.arg("Labels.txt").arg(1).arg("page=100x");
    QTest::newRow("no label size") << "A page=100x100"
                                   << t.rsLabelLayoutBadLine.arg("Labels.txt").arg(1).arg("A page=100x100");
    QTest::newRow("grid without page") << "A label=10x10 grid=2x2"
                                       << t.rsLabelLayoutBadLine.arg("Labels.txt").arg(1).arg("A label=10x10 grid=2x2");
    QTest::newRow("half a column") << "A page=100x100 label=10x10 grid=2.5x2"
                                   << t.rsLabelLayoutBadLine.arg("Labels.txt").arg(1).arg("grid=2.5x2");
    QTest::newRow("off the page") << "\nWide page=210x297 label=70x37 grid=3x8 margins=1,0"
                                  << t.rsLabelLayoutOffPage.arg("Labels.txt").arg(2).arg("Wide");
}

void TestLabels::siteLayoutFile()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        const QList<LabelLayout> layouts = LabelLayouts::parse(text, QStringLiteral("Labels.txt"), english());
        QVERIFY2(message.isEmpty(), "a bad file was read");
        QCOMPARE(layouts.size(), 1);
        const LabelLayout& l = layouts.first();
        if (l.name == u"Own") {
            QCOMPARE(l.box(4), QRectF(7.2 + 66.5, 13.1 + 33.9, 64, 33.9));
            QCOMPARE(l.minModule, 0.3);
        } else {
            QCOMPARE(l.page, QSizeF(40, 20));
            QCOMPARE(l.perPage(), 1);
        }
    } catch (const LabelError& e) {
        QCOMPARE(e.text(), message);
    }
}

void TestLabels::siteLayoutReplacesABuiltInOne()
{
    QTemporaryDir dir;
    const QString data = dir.path() + u'/';
    QFile file(LabelLayouts::siteFile(data));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("roll-62x29 label=62x29 module=0.4\nМой page=100x50 label=50x50 grid=2x1\n");
    file.close();
    const QList<LabelLayout> layouts = LabelLayouts::all(data, english());
    QCOMPARE(layouts.size(), LabelLayouts::builtIn().size() + 1);
    QCOMPARE(LabelLayouts::find(layouts, QStringLiteral("Roll-62x29"))->minModule, 0.4);
    QCOMPARE(LabelLayouts::find(layouts, QStringLiteral("мой"))->perPage(), 2);
}

void TestLabels::offsetAndPrefixFromTheSettings_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<double>("right");
    QTest::addColumn<double>("down");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("absent") << QString() << 0.0 << 0.0 << "PL-";
    QTest::newRow("set") << "LabelOffsetRight=1.5\nLabelOffsetDown=-0.8\nPlaceLabelPrefix=MS-" << 1.5 << -0.8 << "MS-";
    QTest::newRow("decimal comma") << "LabelOffsetRight=0,7\nLabelOffsetDown=2" << 0.7 << 2.0 << "PL-";
    QTest::newRow("not numbers") << "LabelOffsetRight=abc\nLabelOffsetDown=nan\nPlaceLabelPrefix= " << 0.0 << 0.0
                                 << "PL-";
}

void TestLabels::offsetAndPrefixFromTheSettings()
{
    QFETCH(QString, lines);
    QFETCH(double, right);
    QFETCH(double, down);
    QFETCH(QString, prefix);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Config.ini"));
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("[MAIN]\nLenguage=EN\n" + lines + "\n").toUtf8());
    file.close();
    const Settings settings(ini);
    QCOMPARE(settings.labelOffsetRight(), right);
    QCOMPARE(settings.labelOffsetDown(), down);
    QCOMPARE(settings.placeLabelPrefix(), prefix);
}

QTEST_MAIN(TestLabels)
#include "tst_labels.moc"
