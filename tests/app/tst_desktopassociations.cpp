// Whether the desktop has a program for a written file, read from a small
// desktop of desktop entries and mimeapps.list files in a temporary folder.
#include "platform/DesktopAssociations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Files = QList<QPair<QString, QByteArray>>;

const QByteArray kDocx = "application/vnd.openxmlformats-officedocument.wordprocessingml.document";

} // namespace

class TestDesktopAssociations : public QObject
{
    Q_OBJECT

private slots:
    void findsAProgram_data();
    void findsAProgram();
};

void TestDesktopAssociations::findsAProgram_data()
{
    QTest::addColumn<Files>("desktop"); // paths under the data ("share/") or config ("config/") folder
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("found");
    const Files writer{{"share/applications/writer.desktop",
                        "[Desktop Entry]\nName=Writer\nMimeType=application/rtf;" + kDocx + ";\n"}};
    QTest::newRow("no desktop entries") << Files{} << "act.docx" << false;
    QTest::newRow("office: docx") << writer << "act.docx" << true;
    QTest::newRow("office: rtf") << writer << "Inventory.rtf" << true;
    QTest::newRow("only a picture viewer")
        << Files{{"share/applications/viewer.desktop", "[Desktop Entry]\nMimeType=image/png;image/jpeg;\n"}}
        << "Inventory.rtf" << false;
    QTest::newRow("a text editor takes rtf, a kind of text")
        << Files{{"share/applications/kde4/editor.desktop", "[Desktop Entry]\nMimeType=text/plain;\n"}}
        << "Inventory.rtf" << true;
    QTest::newRow("an action's types are not the program's")
        << Files{{"share/applications/x.desktop",
                  "[Desktop Entry]\nMimeType=image/png;\n[Desktop Action Open]\nMimeType=application/rtf;\n"}}
        << "Inventory.rtf" << false;
    QTest::newRow("added association") << Files{{"config/mimeapps.list",
                                                 "[Added Associations]\n" + kDocx + "=writer.desktop;\n"}}
                                       << "act.docx" << true;
    QTest::newRow("removed association only")
        << Files{{"config/mimeapps.list", "[Removed Associations]\n" + kDocx + "=writer.desktop;\n"}} << "act.docx"
        << false;
    QTest::newRow("folder with a file manager")
        << Files{{"share/applications/files.desktop", "[Desktop Entry]\nMimeType=inode/directory;\n"}} << "" << true;
    QTest::newRow("folder without one") << writer << "" << false;
}

void TestDesktopAssociations::findsAProgram()
{
    QFETCH(Files, desktop);
    QFETCH(QString, file);
    QFETCH(bool, found);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const auto& [path, content] : desktop) {
        const QString full = root.filePath(path);
        QVERIFY(QDir().mkpath(QFileInfo(full).absolutePath()));
        QFile out(full);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    // An empty name stands for a folder.
    const QString target = file.isEmpty() ? root.path() : root.filePath(file);
    QCOMPARE(desktopHasProgramFor(target, {root.filePath("share")}, {root.filePath("config")}), found);
}

QTEST_MAIN(TestDesktopAssociations)
#include "tst_desktopassociations.moc"
