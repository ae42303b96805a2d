// The labels window as the registers and the cards open it: which codes go
// to the labels and in what order, refusals before anything is written, and
// the PDF read back as a scanner would.
#include "PrintedLabels.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "support/DeskFixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <functional>

namespace {

constexpr int kDpi = 300;

// The codes on the first page of an A4 70 x 37 sheet, "slot:code" for
// each box ZXing-C++ reads a symbol in.
QStringList readFirstSheet(const QString& pdf)
{
    const QList<QImage> pages = PrintedLabels::render(pdf, kDpi);
    if (pages.isEmpty())
        return {QStringLiteral("not rendered")};
    QStringList codes;
    for (int slot = 0; slot < 24; ++slot) {
        const QRectF box(slot % 3 * 70, 0.5 + slot / 3 * 37, 70, 37);
        const auto found = PrintedLabels::zxing(PrintedLabels::crop(pages.first(), box, kDpi));
        for (const auto& symbol : found)
            codes << QStringLiteral("%1:%2").arg(slot).arg(symbol.text);
    }
    return codes;
}

QStringList pdfsIn(const QString& folder)
{
    return QDir(folder + QStringLiteral("/Reports")).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

// What the user does in the labels window, then Write.
struct Choice {
    QString which = QStringLiteral("rbChosen"); // rbChosen, rbListed or rbCodes
    QString codes;                              // typed, for rbCodes
    QString layout;                             // empty: as the window offers
    QString symbol;                             // "QR Code" etc.; empty: as offered
    int copies = 1;
    int skip = 0;
};

std::function<void(QDialog&)> writeLabels(const Choice& c, bool* shown = nullptr)
{
    return [c, shown](QDialog& window) {
        if (shown)
            *shown = window.objectName() == u"TfmLabels";
        DeskFixture::find<QRadioButton>(window, qPrintable(c.which))->setChecked(true);
        if (!c.codes.isEmpty())
            DeskFixture::find<QLineEdit>(window, "edCodes")->setText(c.codes);
        if (!c.layout.isEmpty())
            DeskFixture::find<QComboBox>(window, "cbLayout")->setCurrentText(c.layout);
        if (!c.symbol.isEmpty())
            DeskFixture::find<QComboBox>(window, "cbSymbol")->setCurrentText(c.symbol);
        DeskFixture::find<QSpinBox>(window, "seCopies")->setValue(c.copies);
        DeskFixture::find<QSpinBox>(window, "seSkip")->setValue(c.skip);
        DeskFixture::find<QPushButton>(window, "btOK")->click();
    };
}

void search(DeskFixture& f, const char* page, const QString& code)
{
    f.control<QLineEdit>(page, "Edit1")->setText(code);
    f.control<QPushButton>(page, "btSearch")->click();
}

} // namespace

class TestLabelWindow : public QObject
{
    Q_OBJECT
private slots:
    void registerListsItsSearchInOrder();
    void oneRowFromRegistersAndCards_data();
    void oneRowFromRegistersAndCards();
    void refusedBeforeAnythingIsWritten_data();
    void refusedBeforeAnythingIsWritten();
    void previewWritesNothing();
    void newToolsLabelFromTheEditor();
    void placeDictionaryPrintsPlaceLabels_data();
    void placeDictionaryPrintsPlaceLabels();
    void copiesAndSkipAreOfOnePrinting();
};

void TestLabelWindow::registerListsItsSearchInOrder()
{
    DeskFixture f;
    for (const char* code : {"K-3", "Z-9", "K-1", "K-2"})
        f.addTool(QString::fromLatin1(code));
    f.app().showToolList();
    search(f, "TfmTools", QStringLiteral("K-"));
    // The list as sorted by the user, not as added.
    f.control<QPushButton>("TfmTools", "btSearch")->click();
    Query& tools = f.session().qTools;
    QVERIFY(tools.setSort(QStringLiteral("ID_Tool"), true));
    bool shown = false;
    Choice listedAfterTwo;
    listedAfterTwo.which = QStringLiteral("rbListed");
    listedAfterTwo.skip = 2;
    f.fakes().dialogs.modalScripts.push_back(writeLabels(listedAfterTwo, &shown));
    f.control<QPushButton>("TfmTools", "btLabels")->click();
    QVERIFY(shown);
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList());
    QCOMPARE(f.fakes().shell.opened.size(), 1);
    const QString pdf = f.fakes().shell.opened.first();
    QCOMPARE(QFileInfo(pdf).absolutePath(), QDir(f.data().folder()).filePath(QStringLiteral("Reports")));
    QVERIFY(pdf.endsWith(u".pdf"));
    QCOMPARE(readFirstSheet(pdf), (QStringList{"2:K-3", "3:K-2", "4:K-1"}));
}

void TestLabelWindow::oneRowFromRegistersAndCards_data()
{
    QTest::addColumn<QString>("opener"); // page or card, then its button
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("tool register, chosen tool") << "TfmTools"
                                                << "" << 1 << QStringList{"0:B-2"};
    QTest::newRow("tool card, two copies, QR") << "TfmCard_T"
                                               << "QR Code" << 2 << QStringList{"0:B-2", "1:B-2"};
    QTest::newRow("worker register, badge") << "TfmUsers"
                                            << "Data Matrix" << 1 << QStringList{"0:W-2"};
    QTest::newRow("worker card, badge") << "TfmCard_U"
                                        << "" << 3 << QStringList{"0:W-2", "1:W-2", "2:W-2"};
}

void TestLabelWindow::oneRowFromRegistersAndCards()
{
    QFETCH(QString, opener);
    QFETCH(QString, symbol);
    QFETCH(int, copies);
    QFETCH(QStringList, expected);
    DeskFixture f;
    f.addTool(QStringLiteral("B-1"));
    f.addTool(QStringLiteral("B-2"));
    f.addRecipient(QStringLiteral("W-1"));
    f.addRecipient(QStringLiteral("W-2"), QStringLiteral("Петров П.П."));
    const bool tools = opener == u"TfmTools" || opener == u"TfmCard_T";
    if (tools) {
        f.app().showToolList();
        search(f, "TfmTools", QString());
        QVERIFY(f.session().qTools.locate(QStringLiteral("ID_Tool"), QStringLiteral("B-2")));
    } else {
        f.app().showRecipientList();
        search(f, "TfmUsers", QString());
        QVERIFY(f.session().qUsers.locate(QStringLiteral("ID_User"), QStringLiteral("W-2")));
    }
    Choice choice;
    choice.symbol = symbol;
    choice.copies = copies;
    if (opener.startsWith(u"TfmCard")) {
        f.fakes().dialogs.modalScripts.push_back([&](QDialog& card) {
            DeskFixture::find<QPushButton>(card, "btLabel")->click();
            card.reject();
        });
        f.fakes().dialogs.modalScripts.push_back(writeLabels(choice));
        if (tools)
            f.app().openToolCard();
        else
            f.app().openRecipientCard();
    } else {
        f.fakes().dialogs.modalScripts.push_back(writeLabels(choice));
        f.control<QPushButton>(qPrintable(opener), "btLabels")->click();
    }
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList());
    QCOMPARE(f.fakes().shell.opened.size(), 1);
    QCOMPARE(readFirstSheet(f.fakes().shell.opened.first()), expected);
}

void TestLabelWindow::refusedBeforeAnythingIsWritten_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("search"); // of the tool register
    QTest::addColumn<QString>("expected");
    // Cyrillic anywhere in the list stops the whole run, naming the code.
    QTest::newRow("Cyrillic in Code 128") << "rbListed"
                                          << ""
                                          << ""
                                          << "-1"
                                          << "КЛЮЧ-1";
    QTest::newRow("too long for the roll") << "rbCodes"
                                           << "A-1, LONG-CODE-0123456789ABCDEFGHIJ"
                                           << "Roll-54x25"
                                           << ""
                                           << "LONG-CODE-0123456789ABCDEFGHIJ";
    QTest::newRow("unknown typed code") << "rbCodes"
                                        << "A-1,NOPE"
                                        << ""
                                        << ""
                                        << "NOPE";
    QTest::newRow("nothing typed") << "rbCodes"
                                   << " , "
                                   << ""
                                   << ""
                                   << "rsLabelsNoCodesTyped";
    // An empty list must not become every tool.
    QTest::newRow("nothing listed") << "rbListed"
                                    << ""
                                    << ""
                                    << "NO-SUCH"
                                    << "rsLabelNothing";
    QTest::newRow("no chosen row") << "rbChosen"
                                   << ""
                                   << ""
                                   << "NO-SUCH"
                                   << "rsLabelsNoneChosen";
}

void TestLabelWindow::refusedBeforeAnythingIsWritten()
{
    QFETCH(QString, which);
    QFETCH(QString, typed);
    QFETCH(QString, layout);
    QFETCH(QString, search);
    QFETCH(QString, expected);
    DeskFixture f;
    f.addTool(QStringLiteral("A-1"));
    f.addTool(QStringLiteral("LONG-CODE-0123456789ABCDEFGHIJ"));
    f.addTool(QStringLiteral("КЛЮЧ-1"));
    f.app().showToolList();
    ::search(f, "TfmTools", search);
    bool stillOpen = false;
    Choice choice;
    choice.which = which;
    choice.codes = typed;
    choice.layout = layout;
    auto write = writeLabels(choice);
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        write(window);
        stillOpen = window.result() != QDialog::Accepted;
    });
    f.control<QPushButton>("TfmTools", "btLabels")->click();
    QVERIFY(stillOpen); // the choices stay to be mended
    const Messages& t = f.session().texts();
    QString message;
    if (expected.startsWith(u"rs")) {
        for (const MessageText& m : messageTexts())
            if (expected == QLatin1String(m.name))
                message = t.*m.field;
        QVERIFY(!message.isEmpty());
        QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{message});
    } else {
        const QStringList errors = f.fakes().dialogs.texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(expected), qPrintable(errors.first()));
    }
    QCOMPARE(pdfsIn(f.data().folder()), QStringList());
    QCOMPARE(f.fakes().shell.opened, QStringList());
}

void TestLabelWindow::previewWritesNothing()
{
    DeskFixture f;
    f.addTool(QStringLiteral("P-1"));
    f.addTool(QStringLiteral("КЛЮЧ-2"));
    f.app().showToolList();
    search(f, "TfmTools", QString());
    QVERIFY(f.session().qTools.locate(QStringLiteral("ID_Tool"), QStringLiteral("P-1")));
    QString previewTitle;
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        DeskFixture::find<QPushButton>(window, "btPreview")->click();
        // A refused code shows no preview.
        DeskFixture::find<QRadioButton>(window, "rbListed")->setChecked(true);
        DeskFixture::find<QPushButton>(window, "btPreview")->click();
    });
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& preview) { previewTitle = preview.windowTitle(); });
    f.control<QPushButton>("TfmTools", "btLabels")->click();
    QStringList modals = f.fakes().dialogs.texts("modal");
    QCOMPARE(modals, (QStringList{"TfmLabels", "ReportPreview"}));
    QVERIFY2(previewTitle.contains(u"100 %"), qPrintable(previewTitle));
    QCOMPARE(f.fakes().dialogs.texts("error").size(), 1);
    QVERIFY(f.fakes().dialogs.texts("error").first().contains(u"КЛЮЧ-2"));
    QCOMPARE(pdfsIn(f.data().folder()), QStringList());
    QCOMPARE(f.fakes().shell.opened, QStringList());
}

void TestLabelWindow::newToolsLabelFromTheEditor()
{
    DeskFixture f;
    f.app().showToolList();
    const auto addTool = [&](const char* code, bool label) {
        f.fakes().dialogs.modalScripts.push_back([code, label](QDialog& editor) {
            auto* box = DeskFixture::find<QLineEdit>(editor, "DBEdit1");
            box->setText(QString::fromLatin1(code));
            emit box->textEdited(box->text());
            auto* offer = DeskFixture::find<QCheckBox>(editor, "chLabel");
            QVERIFY(offer->isVisible());
            offer->setChecked(label);
            DeskFixture::find<QPushButton>(editor, "btOK")->click();
        });
        if (label)
            f.fakes().dialogs.modalScripts.push_back(writeLabels(Choice()));
        f.control<QPushButton>("TfmTools", "Button1")->click();
    };
    addTool("NEW-1", false);
    QCOMPARE(f.fakes().dialogs.texts("modal"), QStringList{"TfmEditor_T"});
    addTool("NEW-2", true);
    QCOMPARE(f.fakes().dialogs.texts("modal"), (QStringList{"TfmEditor_T", "TfmEditor_T", "TfmLabels"}));
    QCOMPARE(f.fakes().shell.opened.size(), 1);
    QCOMPARE(readFirstSheet(f.fakes().shell.opened.first()), QStringList{"0:NEW-2"});
}

void TestLabelWindow::placeDictionaryPrintsPlaceLabels_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("prefix");    // PlaceLabelPrefix; empty: absent
    QTest::addColumn<QList<int>>("places"); // indexes of the places added, in the expected order
    // The dictionary lists its places as added; the chosen one is the second.
    QTest::newRow("chosen place") << "rbChosen"
                                  << "" << QList<int>{1};
    QTest::newRow("every place listed") << "rbListed"
                                        << "" << QList<int>{0, 1, 2};
    QTest::newRow("site's own prefix") << "rbListed"
                                       << "SHELF/" << QList<int>{0, 1, 2};
}

void TestLabelWindow::placeDictionaryPrintsPlaceLabels()
{
    QFETCH(QString, which);
    QFETCH(QString, prefix);
    QFETCH(QList<int>, places);
    DeskFixture f;
    if (!prefix.isEmpty())
        f.session().settings().setPlaceLabelPrefix(prefix);
    auto& dict = f.window<QDialog>("TfmDict_Mesto");
    const QStringList names{QStringLiteral("Стеллаж 1"), QStringLiteral("Шкаф 2"), QStringLiteral("Ящик 3")};
    for (const QString& name : names) {
        DeskFixture::find<QLineEdit>(dict, "edField")->setText(name);
        DeskFixture::find<QPushButton>(dict, "btAdd")->click();
    }
    QList<qint64> keys;
    for (const QString& name : names)
        keys << f.db().scalar(QStringLiteral("SELECT ID FROM MESTO WHERE AField = ?"), {name}).toLongLong();
    // Other places' keys, so the codes show which row each label is from.
    QVERIFY(keys[0] != keys[1] && keys[1] != keys[2]);

    bool labelsShown = false;
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        auto* button = DeskFixture::find<QPushButton>(window, "btLabels");
        QCOMPARE(button->text(), QStringLiteral("Этикетки"));
        QVERIFY(!button->toolTip().isEmpty());
        auto* grid = DeskFixture::find<QAbstractItemView>(window, "DBGrid");
        grid->setCurrentIndex(grid->model()->index(1, 0));
        button->click();
    });
    Choice choice;
    choice.which = which;
    f.fakes().dialogs.modalScripts.push_back(writeLabels(choice, &labelsShown));
    f.app().openDictionary(DictionaryKind::Mesto);
    QVERIFY(labelsShown);
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList());
    QCOMPARE(f.fakes().shell.opened.size(), 1);
    const QString used = prefix.isEmpty() ? QStringLiteral("PL-") : prefix;
    QStringList expected;
    for (int slot = 0; slot < places.size(); ++slot)
        expected << QStringLiteral("%1:%2%3").arg(slot).arg(used).arg(keys[places[slot]]);
    QCOMPARE(readFirstSheet(f.fakes().shell.opened.first()), expected);
}

void TestLabelWindow::copiesAndSkipAreOfOnePrinting()
{
    DeskFixture f;
    f.addTool(QStringLiteral("C-1"));
    f.app().showToolList();
    search(f, "TfmTools", QString());
    Choice threeAfterTwo;
    threeAfterTwo.copies = 3;
    threeAfterTwo.skip = 2;
    threeAfterTwo.symbol = QStringLiteral("QR Code");
    f.fakes().dialogs.modalScripts.push_back(writeLabels(threeAfterTwo));
    f.control<QPushButton>("TfmTools", "btLabels")->click();
    QString symbol;
    int copies = 0;
    int skip = -1;
    f.fakes().dialogs.modalScripts.push_back([](QDialog& card) {
        DeskFixture::find<QPushButton>(card, "btLabel")->click();
        card.reject();
    });
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        symbol = DeskFixture::find<QComboBox>(window, "cbSymbol")->currentText();
        copies = DeskFixture::find<QSpinBox>(window, "seCopies")->value();
        skip = DeskFixture::find<QSpinBox>(window, "seSkip")->value();
    });
    // The next printing, from a card: one label, on a fresh sheet, in the symbol chosen before.
    f.app().openToolCard();
    QCOMPARE(symbol, QStringLiteral("QR Code"));
    QCOMPARE(copies, 1);
    QCOMPARE(skip, 0);
}

QTEST_MAIN(TestLabelWindow)
#include "tst_label_window.moc"
