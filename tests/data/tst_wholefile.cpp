// Every file the program writes is whole or not written: the writer's
// temporary file, its checks, the targets it refuses and the leftovers of a
// killed run, read back from the folder.
#include "DbFixture.h"
#include "data/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

Q_DECLARE_METATYPE(FileWriteError::Cause)

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

// Every name in a folder, hidden ones too, sorted.
QStringList everything(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

bool isFifo(const QString& path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Writes content to target; the cause when it was refused.
std::optional<FileWriteError::Cause> tryWrite(const QString& target, const QByteArray& content,
                                              const WholeFileWriter::Check& check = {})
{
    try {
        WholeFileWriter::write(
            target, [&content](QIODevice& d) { d.write(content); }, check);
    } catch (const FileWriteError& e) {
        return e.cause();
    }
    return std::nullopt;
}

} // namespace

class TestWholeFile : public QObject
{
    Q_OBJECT

private slots:
    void writesAndReplaces();
    void replacementKeepsThePermissions();
    void refusedTargets_data();
    void refusedTargets();
    void failuresKeepTheEarlierFile_data();
    void failuresKeepTheEarlierFile();
    void leftoversOfAKilledRunAreRemoved();
    void aWriterAtWorkKeepsItsFile();
    void longNamesStillFit();
    void foldersAreMade_data();
    void foldersAreMade();
};

void TestWholeFile::writesAndReplaces()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("отчет.rtf"));
    QCOMPARE(tryWrite(target, "first"), std::nullopt);
    QCOMPARE(readBytes(target), QByteArray("first"));
    QCOMPARE(tryWrite(target, "second, longer"), std::nullopt);
    QCOMPARE(readBytes(target), QByteArray("second, longer"));
    QCOMPARE(everything(dir.path()), QStringList{QStringLiteral("отчет.rtf")});

    // A link to a file writes that file and stays a link.
    const QString link = dir.filePath(QStringLiteral("latest.rtf"));
    QVERIFY(QFile::link(target, link));
    QCOMPARE(tryWrite(link, "through the link"), std::nullopt);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(target), QByteArray("through the link"));
}

void TestWholeFile::replacementKeepsThePermissions()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("backup.mdb"));
    writeBytes(target, "old");
    const QFile::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(target, kept));
    QCOMPARE(tryWrite(target, "new"), std::nullopt);
    QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), kept);
}

void TestWholeFile::refusedTargets_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("target");
    QTest::addColumn<FileWriteError::Cause>("cause");
    QTest::addColumn<QString>("named"); // the path the error names
    using C = FileWriteError::Cause;
    QTest::newRow("folder missing") << ""
                                    << "missing/r.pdf" << C::FolderMissing << "missing";
    QTest::newRow("a file where the folder goes") << "file:Reports"
                                                  << "Reports/r.pdf" << C::NotAFolder << "Reports";
    QTest::newRow("a FIFO") << "fifo:r.pdf"
                            << "r.pdf" << C::NotRegularFile << "r.pdf";
    QTest::newRow("a folder") << "folder:r.pdf"
                              << "r.pdf" << C::NotRegularFile << "r.pdf";
    QTest::newRow("a link to a FIFO") << "fifo:pipe,link:r.pdf>pipe"
                                      << "r.pdf" << C::NotRegularFile << "pipe";
    QTest::newRow("a link to nothing") << "link:r.pdf>gone"
                                       << "r.pdf" << C::NotRegularFile << "r.pdf";
    QTest::newRow("a device") << ""
                              << "/dev/null" << C::NotRegularFile << "/dev/null";
}

void TestWholeFile::refusedTargets()
{
    QFETCH(QString, setup);
    QFETCH(QString, target);
    QFETCH(FileWriteError::Cause, cause);
    QFETCH(QString, named);
    QTemporaryDir dir;
    for (const QString& step : setup.split(u',', Qt::SkipEmptyParts)) {
        const QString kind = step.section(u':', 0, 0);
        const QString name = step.section(u':', 1);
        if (kind == u"file")
            writeBytes(dir.filePath(name), "kept");
        else if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0644), 0);
        else if (kind == u"folder")
            QVERIFY(QDir(dir.path()).mkdir(name));
        else if (kind == u"link")
            QVERIFY(QFile::link(dir.filePath(name.section(u'>', 1)), dir.filePath(name.section(u'>', 0, 0))));
    }
    const QStringList before = everything(dir.path());
    const QString path = target.startsWith(u'/') ? target : dir.filePath(target);
    try {
        WholeFileWriter::write(path, [](QIODevice& d) { d.write("report"); });
        QFAIL("written");
    } catch (const FileWriteError& e) {
        QCOMPARE(e.cause(), cause);
        QCOMPARE(e.path(), named.startsWith(u'/') ? named : dir.filePath(named));
    }
    QCOMPARE(everything(dir.path()), before);
    if (setup.startsWith(u"fifo"))
        QVERIFY(isFifo(dir.filePath(setup.section(u':', 1).section(u',', 0, 0))));
    if (setup.startsWith(u"file"))
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("Reports"))), QByteArray("kept"));
    QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() && !QFileInfo(QStringLiteral("/dev/null")).isFile());
}

void TestWholeFile::failuresKeepTheEarlierFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<FileWriteError::Cause>("cause");
    using C = FileWriteError::Cause;
    QTest::newRow("full disk") << "full" << C::DiskFull;
    QTest::newRow("the check finds a fault") << "check" << C::CheckFailed;
    QTest::newRow("nothing written") << "empty" << C::CheckFailed;
    QTest::newRow("the writer stops midway") << "throw" << C::Other;
}

void TestWholeFile::failuresKeepTheEarlierFile()
{
    QFETCH(QString, fault);
    QFETCH(FileWriteError::Cause, cause);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("history.pdf"));
    writeBytes(target, "yesterday's report");
    const QStringList before = everything(dir.path());
    const QByteArray content(64 * 1024, 'x');
    try {
        std::optional<dbfixture::FileSizeLimit> full;
        if (fault == u"full")
            full.emplace(16 * 1024);
        WholeFileWriter::write(
            target,
            [&](QIODevice& d) {
                if (fault == u"empty")
                    return;
                d.write(content.left(1000));
                if (fault == u"throw")
                    throw FileWriteError(FileWriteError::Cause::Other, target, QStringLiteral("the writer gave up"));
                d.write(content.mid(1000)); // the device's failure is not looked at, as QPdfWriter does not
            },
            [&](const QString& written) {
                if (fault == u"check")
                    return QStringLiteral("damaged");
                return readBytes(written) == content ? QString() : QStringLiteral("short");
            });
        QFAIL("written");
    } catch (const FileWriteError& e) {
        QCOMPARE(e.cause(), cause);
        QCOMPARE(e.path(), target);
        if (fault == u"full")
            QVERIFY(!e.systemText().isEmpty());
    }
    QCOMPARE(readBytes(target), QByteArray("yesterday's report"));
    QCOMPARE(everything(dir.path()), before);
}

void TestWholeFile::leftoversOfAKilledRunAreRemoved()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("DB_2026.mdb"));
    QCOMPARE(WholeFileWriter::temporaryPrefix(target), QStringLiteral(".DB_2026.mdb.tooldesk-"));
    // What killed runs leave: this version's name and the earlier backup's.
    for (const char* name : {".DB_2026.mdb.tooldesk-a1B2c3.part", "DB_2026.mdb.Xy12zQ.part"})
        writeBytes(dir.filePath(QLatin1String(name)), "half a copy");
    // Not leftovers of this target.
    const QStringList others{".other.mdb.tooldesk-a1B2c3.part", "DB_2026.mdb.notours.part", "DB_2026.mdb.part"};
    for (const QString& name : others)
        writeBytes(dir.filePath(name), "someone else's");

    QCOMPARE(tryWrite(target, "whole copy"), std::nullopt);
    QStringList left = others + QStringList{QStringLiteral("DB_2026.mdb")};
    left.sort();
    QCOMPARE(everything(dir.path()), left);
    QCOMPARE(readBytes(target), QByteArray("whole copy"));
}

void TestWholeFile::aWriterAtWorkKeepsItsFile()
{
    // Two inventories of one second: the second writer does not take the
    // first one's temporary file for a leftover.
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Inventory.rtf"));
    WholeFileWriter first(target);
    first.device().write("first");
    QCOMPARE(tryWrite(target, "second"), std::nullopt);
    QVERIFY(QFileInfo::exists(first.temporaryPath()));
    first.commit();
    QCOMPARE(readBytes(target), QByteArray("first"));
    QCOMPARE(everything(dir.path()), QStringList{QStringLiteral("Inventory.rtf")});
}

void TestWholeFile::longNamesStillFit()
{
    QTemporaryDir dir;
    // 120 Cyrillic letters are 240 bytes: the temporary name is cut, not refused.
    const QString name = QString(120, QChar(0x0416)) + QStringLiteral(".rtf");
    const QString target = dir.filePath(name);
    QCOMPARE(tryWrite(target, "statement"), std::nullopt);
    QCOMPARE(everything(dir.path()), QStringList{name});
    // With its six random characters and ".part" the name fits 255 bytes.
    QVERIFY(QFile::encodeName(WholeFileWriter::temporaryPrefix(target)).size() + 11 <= 255);
}

void TestWholeFile::foldersAreMade_data()
{
    QTest::addColumn<QString>("blocking"); // a file standing in the way, or none
    QTest::addColumn<QString>("folder");
    QTest::newRow("missing parents") << ""
                                     << "Reports/Inventory";
    QTest::newRow("already there") << ""
                                   << ".";
    QTest::newRow("a file where a parent goes") << "Reports"
                                                << "Reports/Inventory";
    QTest::newRow("a file of the folder's name") << "WriteOff"
                                                 << "WriteOff";
}

void TestWholeFile::foldersAreMade()
{
    QFETCH(QString, blocking);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    if (!blocking.isEmpty())
        writeBytes(dir.filePath(blocking), "kept");
    try {
        WholeFileWriter::makeFolder(dir.filePath(folder));
        QVERIFY(blocking.isEmpty());
        QVERIFY(QFileInfo(dir.filePath(folder)).isDir());
    } catch (const FileWriteError& e) {
        QVERIFY2(!blocking.isEmpty(), e.what());
        QCOMPARE(e.cause(), FileWriteError::Cause::NotAFolder);
        QCOMPARE(e.path(), dir.filePath(blocking));
        QCOMPARE(readBytes(dir.filePath(blocking)), QByteArray("kept"));
    }
}

QTEST_GUILESS_MAIN(TestWholeFile)
#include "tst_wholefile.moc"
