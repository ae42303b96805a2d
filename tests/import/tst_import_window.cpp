// The import window as the administrator uses it: opened from the registers,
// the file chosen through the fake file chooser, the match corrected in the
// column boxes, the rows written with Import.
#include "core/Messages.h"
#include "core/Session.h"
#include "data/Connection.h"
#include "importpage/TfmImport.h"
#include "support/DeskFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

QString writeFile(const TestData& data, const QString& name, const QByteArray& bytes)
{
    const QString path = data.folder() + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

} // namespace

class TestImportWindow : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheAdministratorImports_data();
    void onlyTheAdministratorImports();
    void previewCorrectedThenWritten();
    void workersFromTheirRegister();
    void importedWorkersListedAtOnce();
};

void TestImportWindow::onlyTheAdministratorImports_data()
{
    QTest::addColumn<bool>("administrator");
    QTest::newRow("administrator") << true;
    QTest::newRow("operator") << false;
}

void TestImportWindow::onlyTheAdministratorImports()
{
    QFETCH(bool, administrator);
    DeskFixture f({}, administrator ? DeskFixture::SignIn::Administrator : DeskFixture::SignIn::Operator);
    QVERIFY(f.started());
    QCOMPARE(f.control<QPushButton>("TfmTools", "btImport")->isEnabled(), administrator);
    QCOMPARE(f.control<QPushButton>("TfmUsers", "btImport")->isEnabled(), administrator);
}

void TestImportWindow::previewCorrectedThenWritten()
{
    DeskFixture f;
    QVERIFY(f.started());
    // "Инв." is no heading the program knows: at first ignored, so the
    // required name is missing and every row is refused.
    const QString file = writeFile(f.data(), QStringLiteral("stock.csv"),
                                   "Код;Инв.;Наименование инструмента;Место\n"
                                   "A1;И-1;Дрель;Склад 1\n"
                                   ";И-2;Пила;Склад 2\n");
    f.fakes().dialogs.pictureAnswers.push_back(file);
    bool shown = false;
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        auto& w = static_cast<TfmImport&>(window);
        shown = true;
        QCOMPARE(w.objectName(), QStringLiteral("TfmImport"));
        // Shown as the real dialog is when the file is chosen: the column boxes come later and must show too.
        w.show();
        w.findChild<QPushButton*>(QStringLiteral("btFile"))->click();
        auto* rows = w.findChild<QTableView*>(QStringLiteral("gridRows"));
        auto* import = w.findChild<QPushButton*>(QStringLiteral("btImport"));
        QCOMPARE(rows->model()->rowCount(), 2);
        QVERIFY(rows->model()->index(0, 2).data().toString().startsWith(QStringLiteral("отказ: не заполнено")));
        QVERIFY(!import->isEnabled());

        // The user gives the third column to the name and the second to the inventory number.
        auto* third = w.findChild<QComboBox*>(QStringLiteral("cbColumn3"));
        auto* second = w.findChild<QComboBox*>(QStringLiteral("cbColumn2"));
        QCOMPARE(third->currentIndex(), 0);
        QVERIFY(third->isVisible());
        third->setCurrentIndex(third->findText(QStringLiteral("Наименование")));
        emit third->activated(third->currentIndex());
        second->setCurrentIndex(second->findText(QStringLiteral("Инвентарный")));
        emit second->activated(second->currentIndex());
        QCOMPARE(rows->model()->index(0, 2).data().toString(), QStringLiteral("новая"));
        QCOMPARE(rows->model()->index(1, 1).data().toString(), QStringLiteral("1001")); // after A1's key 1
        QCOMPARE(rows->model()->index(1, 2).data().toString(), QStringLiteral("новая, код создан"));
        QVERIFY(import->isEnabled());
        import->click();
    });
    f.control<QPushButton>("TfmTools", "btImport")->click();
    QVERIFY(shown);
    QCOMPARE(f.fakes().dialogs.texts("error"), QStringList());
    QCOMPARE(f.fakes().dialogs.texts("message"), QStringList{"Импорт записан: новых 2, обновлено 0, пропущено 0"});
    Statement q = f.db().run(QStringLiteral("SELECT ID_Tool, Inv, Naim, Mesto FROM Tools ORDER BY ID"));
    QStringList written;
    while (q->next())
        written << QStringList{q->value(0).toString(), q->value(1).toString(), q->value(2).toString(),
                               q->value(3).toString()}
                       .join(u'|');
    QCOMPARE(written, (QStringList{"A1|И-1|Дрель|Склад 1", "1001|И-2|Пила|Склад 2"}));
    // The tool list shows them at once.
    QCOMPARE(f.session().qTools.recordCount(), 2);
}

void TestImportWindow::workersFromTheirRegister()
{
    DeskFixture f;
    QVERIFY(f.started());
    const QString file = writeFile(f.data(), QStringLiteral("staff.csv"), "ФИО;ID получателя\nПетров;U7\nСидоров;U7\n");
    f.fakes().dialogs.pictureAnswers.push_back(file);
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        window.findChild<QPushButton*>(QStringLiteral("btFile"))->click();
        auto* rows = window.findChild<QTableView*>(QStringLiteral("gridRows"));
        QVERIFY(rows->model()->index(1, 2).data().toString().contains(QStringLiteral("код U7 есть и в строке 2")));
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("btImport"))->isEnabled());
        window.findChild<QPushButton*>(QStringLiteral("btCancel"))->click();
    });
    f.control<QPushButton>("TfmUsers", "btImport")->click();
    QCOMPARE(f.db().count(Select(QStringLiteral("Users"))), 0);
}

// The register under the window lists the new workers and counts them.
void TestImportWindow::importedWorkersListedAtOnce()
{
    DeskFixture f;
    QVERIFY(f.started());
    f.addRecipient(QStringLiteral("U1"));
    f.app().showRecipientList();
    f.control<QPushButton>("TfmUsers", "btSearch")->click();
    QCOMPARE(f.session().qUsers.recordCount(), 1);
    const QString file = writeFile(f.data(), QStringLiteral("staff.csv"), "ФИО;ID получателя\nПетров;U7\nСидоров;U8\n");
    f.fakes().dialogs.pictureAnswers.push_back(file);
    f.fakes().dialogs.modalScripts.push_back([&](QDialog& window) {
        window.findChild<QPushButton*>(QStringLiteral("btFile"))->click();
        window.findChild<QPushButton*>(QStringLiteral("btImport"))->click();
    });
    f.control<QPushButton>("TfmUsers", "btImport")->click();
    QCOMPARE(f.db().count(Select(QStringLiteral("Users"))), 3);
    QCOMPARE(f.session().qUsers.recordCount(), 3);
    QCOMPARE(f.control<QLabel>("TfmUsers", "lbRecordCount")->text(), QStringLiteral("общее количество: 3"));
}

QTEST_MAIN(TestImportWindow)
#include "tst_import_window.moc"
