#include "core/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Most cases read from this one file: two sections, comments, blank lines.
const QByteArray settings = "; Tool desk settings\n"
                            "[MAIN]\n"
                            "Lenguage=RU\n"
                            "  ShowTime =  0  \n"
                            "PlaySound=-1\n"
                            "Quoted=\"  two words  \"\n"
                            "Single='x'\n"
                            "Mixed=\"x'\n"
                            "Lone=\"\n"
                            "Empty=\n"
                            ";Commented=1\n"
                            "Twice=first\n"
                            "twice=second\n"
                            "\n"
                            "  [ Extra ]  \n"
                            "Lenguage=EN\n"
                            "Inline=a ; b\n"
                            "[Параметры]\n"
                            "Ключ=значение\n"
                            "[MAIN]\n"
                            "Later=1\n"
                            "Twice=third\n";

// Absence shows in a failure message instead of comparing as an empty text.
QString shown(const std::optional<QString>& value)
{
    return value.value_or(QStringLiteral("<absent>"));
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void read_data();
    void read();
    void readAbsentFile();
    void readDefault();
    void readSeesOutsideChanges();

    void write_data();
    void write();
    void writeCreatesMissingFile();
    void writeRejectsUnstorableNames_data();
    void writeRejectsUnstorableNames();
    void readOnlyFileStaysUnchanged();
    void missingFolderCannotBeWritten();
    void writeKeepsPermissions();

    void appendLines_data();
    void appendLines();

    void toBool_data();
    void toBool();
    void toInt_data();
    void toInt();

private:
    QString iniPath() const { return m_dir->filePath(QStringLiteral("Config.ini")); }
    void put(const QByteArray& bytes) const;
    QByteArray contents() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::put(const QByteArray& bytes) const
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestIniFile::contents() const
{
    QFile file(iniPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TestIniFile::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const QByteArray s = settings;
    QTest::newRow("exact names") << s << "MAIN"
                                 << "Lenguage" << true << "RU";
    QTest::newRow("section in other case") << s << "main"
                                           << "Lenguage" << true << "RU";
    QTest::newRow("key in other case") << s << "MAIN"
                                       << "LENGUAGE" << true << "RU";
    QTest::newRow("names with blanks") << s << " MAIN "
                                       << " ShowTime\t" << true << "0";
    QTest::newRow("blanks around header and key") << s << "extra"
                                                  << "lenguage" << true << "EN";
    QTest::newRow("non-ASCII case") << s << "ПАРАМЕТРЫ"
                                    << "ключ" << true << "значение";
    QTest::newRow("value trimmed") << s << "MAIN"
                                   << "ShowTime" << true << "0";
    QTest::newRow("double quotes removed, inside kept") << s << "MAIN"
                                                        << "Quoted" << true << "  two words  ";
    QTest::newRow("single quotes removed") << s << "MAIN"
                                           << "Single" << true << "x";
    QTest::newRow("unmatched quotes kept") << s << "MAIN"
                                           << "Mixed" << true << "\"x'";
    QTest::newRow("lone quote kept") << s << "MAIN"
                                     << "Lone" << true << "\"";
    QTest::newRow("empty value is present") << s << "MAIN"
                                            << "Empty" << true << "";
    QTest::newRow("inline semicolon is value") << s << "Extra"
                                               << "Inline" << true << "a ; b";
    QTest::newRow("first key wins") << s << "MAIN"
                                    << "twice" << true << "first";
    QTest::newRow("only first section of a name") << s << "MAIN"
                                                  << "Later" << false << "";
    QTest::newRow("key of another section") << s << "Extra"
                                            << "PlaySound" << false << "";
    QTest::newRow("commented key") << s << "MAIN"
                                   << "Commented" << false << "";
    QTest::newRow("absent key") << s << "MAIN"
                                << "Nothing" << false << "";
    QTest::newRow("absent section") << s << "Nothing"
                                    << "Lenguage" << false << "";
    QTest::newRow("empty key") << s << "MAIN"
                               << "" << false << "";
    QTest::newRow("key before any section") << QByteArray("A=1\n[S]\nB=2\n") << "S"
                                            << "A" << false << "";
    QTest::newRow("CRLF value has no CR") << QByteArray("[S]\r\nA=1\r\nB=2\r\n") << "S"
                                          << "A" << true << "1";
    QTest::newRow("unterminated last line") << QByteArray("[S]\nA=1") << "S"
                                            << "A" << true << "1";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nA=1\n") << "S"
                                     << "A" << true << "1";
    QTest::newRow("empty file") << QByteArray() << "S"
                                << "A" << false << "";
}

void TestIniFile::read()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, value);

    put(text);
    const IniFile ini(iniPath());
    const std::optional<QString> got = ini.read(section, key);
    QCOMPARE(got.has_value(), found);
    if (found)
        QCOMPARE(*got, value);
}

void TestIniFile::readAbsentFile()
{
    const IniFile ini(iniPath());
    QVERIFY(!ini.exists());
    QCOMPARE(ini.path(), iniPath());
    QVERIFY(!ini.read("MAIN", "Lenguage").has_value());
    QCOMPARE(ini.read("MAIN", "Lenguage", "RU"), QStringLiteral("RU"));
}

void TestIniFile::readDefault()
{
    put(settings);
    const IniFile ini(iniPath());
    QVERIFY(ini.exists());
    QCOMPARE(ini.read("MAIN", "Lenguage", "XX"), QStringLiteral("RU"));
    QCOMPARE(ini.read("MAIN", "Empty", "XX"), QString());
    QCOMPARE(ini.read("MAIN", "Nothing", "XX"), QStringLiteral("XX"));
}

void TestIniFile::readSeesOutsideChanges()
{
    put("[S]\nA=1\n");
    IniFile ini(iniPath());
    const IniFile other(iniPath());
    QCOMPARE(shown(ini.read("S", "A")), QStringLiteral("1"));
    put("[S]\nA=2\n");
    QCOMPARE(shown(ini.read("S", "A")), QStringLiteral("2"));
    QVERIFY(ini.write("S", "A", "3"));
    QCOMPARE(shown(other.read("S", "A")), QStringLiteral("3"));
}

void TestIniFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray layout = "; head\n"
                              "[A]\n"
                              "X=1\n"
                              "; note\n"
                              "Y = 2\n"
                              "\n"
                              "\n"
                              "[B]\n"
                              "X=1\n";

    QTest::newRow("in place, rest kept") << layout << "a"
                                         << "y"
                                         << "5" << QByteArray("; head\n[A]\nX=1\n; note\nY=5\n\n\n[B]\nX=1\n");
    QTest::newRow("same key in other section untouched")
        << layout << "B"
        << "X"
        << "7" << QByteArray("; head\n[A]\nX=1\n; note\nY = 2\n\n\n[B]\nX=7\n");
    QTest::newRow("key spelling kept") << QByteArray("[MAIN]\nShowTime=0\n") << "main"
                                       << "SHOWTIME"
                                       << "1" << QByteArray("[MAIN]\nShowTime=1\n");
    QTest::newRow("first of twin keys changed") << QByteArray("[S]\nK=1\nK=2\n") << "S"
                                                << "K"
                                                << "3" << QByteArray("[S]\nK=3\nK=2\n");
    QTest::newRow("same value leaves file alone") << layout << "A"
                                                  << "X"
                                                  << "1" << layout;
    QTest::newRow("CRLF stays CRLF") << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\nX=1\r\n") << "B"
                                     << "X"
                                     << "2" << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\nX=2\r\n");
    QTest::newRow("unterminated line stays unterminated") << QByteArray("[A]\nX=1") << "A"
                                                          << "X"
                                                          << "2" << QByteArray("[A]\nX=2");
    QTest::newRow("other lines kept byte for byte")
        << QByteArray("\xEF\xBB\xBF[A]\nBad=\xFF\xFE\n  odd line  \nX=1\n") << "A"
        << "X"
        << "2" << QByteArray("\xEF\xBB\xBF[A]\nBad=\xFF\xFE\n  odd line  \nX=2\n");

    QTest::newRow("new key ends its section, not the file")
        << layout << "A"
        << "Z"
        << "3" << QByteArray("; head\n[A]\nX=1\n; note\nY = 2\nZ=3\n\n\n[B]\nX=1\n");
    QTest::newRow("new key in last section")
        << layout << "B"
        << "Z"
        << "3" << QByteArray("; head\n[A]\nX=1\n; note\nY = 2\n\n\n[B]\nX=1\nZ=3\n");
    QTest::newRow("new key after header of empty section") << QByteArray("[A]\n\n[B]\nX=1\n") << "A"
                                                           << "Z"
                                                           << "3" << QByteArray("[A]\nZ=3\n\n[B]\nX=1\n");
    QTest::newRow("new key, CRLF") << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\n") << "A"
                                   << "Z"
                                   << "3" << QByteArray("[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\n");
    QTest::newRow("new key after unterminated last line") << QByteArray("[A]\r\nX=1") << "A"
                                                          << "Z"
                                                          << "3" << QByteArray("[A]\r\nX=1\r\nZ=3\r\n");
    QTest::newRow("new key goes to first of twin sections") << QByteArray("[A]\nX=1\n[A]\nY=1\n") << "A"
                                                            << "Z"
                                                            << "3" << QByteArray("[A]\nX=1\nZ=3\n[A]\nY=1\n");

    QTest::newRow("new section at end") << layout << "C"
                                        << "K"
                                        << "v"
                                        << QByteArray("; head\n[A]\nX=1\n; note\nY = 2\n\n\n[B]\nX=1\n[C]\nK=v\n");
    QTest::newRow("new section, CRLF") << QByteArray("[A]\r\nX=1\r\n") << "C"
                                       << "K"
                                       << "v" << QByteArray("[A]\r\nX=1\r\n[C]\r\nK=v\r\n");
    QTest::newRow("new section after unterminated last line") << QByteArray("[A]\nX=1") << "C"
                                                              << "K"
                                                              << "v" << QByteArray("[A]\nX=1\n[C]\nK=v\n");
    QTest::newRow("new section in empty file") << QByteArray() << " C "
                                               << " K "
                                               << "v" << QByteArray("[C]\nK=v\n");
    QTest::newRow("section header only as comment") << QByteArray(";[C]\n;K=1\n") << "C"
                                                    << "K"
                                                    << "v" << QByteArray(";[C]\n;K=1\n[C]\nK=v\n");
    QTest::newRow("non-ASCII names and value") << QByteArray("[Параметры]\nКлюч=1\n") << "ПАРАМЕТРЫ"
                                               << "КЛЮЧ"
                                               << "инструмент" << QByteArray("[Параметры]\nКлюч=инструмент\n");
}

void TestIniFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    put(before);
    IniFile ini(iniPath());
    QVERIFY(ini.write(section, key, value));
    QCOMPARE(contents(), after);
    QCOMPARE(shown(ini.read(section, key)), value);
}

void TestIniFile::writeCreatesMissingFile()
{
    IniFile ini(iniPath());
    QVERIFY(ini.write("MAIN", "Lenguage", "RU"));
    QVERIFY(ini.exists());
    QCOMPARE(contents(), QByteArray("[MAIN]\nLenguage=RU\n"));
}

void TestIniFile::writeRejectsUnstorableNames_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("empty section") << " "
                                   << "K"
                                   << "v";
    QTest::newRow("bracket in section") << "A]B"
                                        << "K"
                                        << "v";
    QTest::newRow("line break in section") << "A\nB"
                                           << "K"
                                           << "v";
    QTest::newRow("empty key") << "S"
                               << ""
                               << "v";
    QTest::newRow("equals in key") << "S"
                                   << "K=1"
                                   << "v";
    QTest::newRow("key read as comment") << "S"
                                         << ";K"
                                         << "v";
    QTest::newRow("key read as header") << "S"
                                        << "[K]"
                                        << "v";
    QTest::newRow("line break in value") << "S"
                                         << "K"
                                         << "a\r\nb";
}

void TestIniFile::writeRejectsUnstorableNames()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const QByteArray before = "[S]\nK=1\n";
    put(before);
    IniFile ini(iniPath());
    QVERIFY(!ini.write(section, key, value));
    QCOMPARE(contents(), before);
}

void TestIniFile::readOnlyFileStaysUnchanged()
{
    const QByteArray before = "[S]\nK=1\n";
    put(before);
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(iniPath(), readOnly));

    // Also run as root, where the system would let the write through.
    IniFile ini(iniPath());
    QVERIFY(!ini.write("S", "K", "2"));
    QVERIFY(!ini.write("S", "New", "2"));
    QVERIFY(!ini.write("New", "K", "2"));
    QVERIFY(!ini.appendLines({QStringLiteral("New=2")}));
    QCOMPARE(contents(), before);
    // The User bits follow the running user (root can always write), so
    // only the stored bits are compared.
    const QFile::Permissions userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    QCOMPARE(QFile::permissions(iniPath()) & ~userBits, readOnly & ~userBits);

    QVERIFY(QFile::setPermissions(iniPath(), readOnly | QFile::WriteOwner | QFile::WriteUser));
    QVERIFY(ini.write("S", "K", "2"));
    QCOMPARE(contents(), QByteArray("[S]\nK=2\n"));
}

void TestIniFile::missingFolderCannotBeWritten()
{
    IniFile ini(m_dir->filePath(QStringLiteral("Missing/Config.ini")));
    QVERIFY(!ini.write("S", "K", "1"));
    QVERIFY(!ini.appendLines({QStringLiteral("K=1")}));
    QVERIFY(!ini.exists());
}

void TestIniFile::writeKeepsPermissions()
{
    put("[S]\nK=1\n");
    const QFile::Permissions custom = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
        | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(iniPath(), custom));
    IniFile ini(iniPath());
    QVERIFY(ini.write("S", "K", "2"));
    QCOMPARE(QFile::permissions(iniPath()), custom);
}

void TestIniFile::appendLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("after");

    const QStringList two = {QStringLiteral("ShowTime=1"), QStringLiteral("PlaySound=0")};
    QTest::newRow("last line unterminated")
        << QByteArray("[A]\n[MAIN]\nX=1") << two << QByteArray("[A]\n[MAIN]\nX=1\nShowTime=1\nPlaySound=0\n");
    QTest::newRow("last line terminated")
        << QByteArray("[A]\n[MAIN]\nX=1\n") << two << QByteArray("[A]\n[MAIN]\nX=1\nShowTime=1\nPlaySound=0\n");
    QTest::newRow("CRLF, unterminated") << QByteArray("[A]\r\n[MAIN]\r\nX=1") << two
                                        << QByteArray("[A]\r\n[MAIN]\r\nX=1\r\nShowTime=1\r\nPlaySound=0\r\n");
    QTest::newRow("after blank lines") << QByteArray("[MAIN]\nX=1\n\n") << two
                                       << QByteArray("[MAIN]\nX=1\n\nShowTime=1\nPlaySound=0\n");
    QTest::newRow("nothing to add") << QByteArray("[MAIN]\nX=1") << QStringList() << QByteArray("[MAIN]\nX=1");
}

void TestIniFile::appendLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, after);

    put(before);
    IniFile ini(iniPath());
    QVERIFY(ini.appendLines(lines));
    QCOMPARE(contents(), after);
    // The appended lines belong to the last section.
    if (!lines.isEmpty()) {
        QCOMPARE(shown(ini.read("MAIN", "ShowTime")), QStringLiteral("1"));
        QCOMPARE(shown(ini.read("MAIN", "X")), QStringLiteral("1"));
    }
}

void TestIniFile::toBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("on");

    QTest::newRow("1") << "1" << true << true;
    QTest::newRow("-1") << "-1" << true << true;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("-0") << "-0" << true << false;
    QTest::newRow("000") << "000" << true << false;
    QTest::newRow("2") << "2" << true << true;
    QTest::newRow("+3") << "+3" << true << true;
    QTest::newRow("007") << "007" << true << true;
    QTest::newRow("beyond int") << "99999999999999999999" << true << true;
    QTest::newRow("blanks") << " \t1 " << true << true;
    QTest::newRow("True") << "True" << true << true;
    QTest::newRow("FALSE") << "FALSE" << true << false;
    QTest::newRow("true with blanks") << "  tRuE " << true << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("blanks only") << "   " << false << false;
    QTest::newRow("sign only") << "-" << false << false;
    QTest::newRow("two signs") << "+-1" << false << false;
    QTest::newRow("yes") << "yes" << false << false;
    QTest::newRow("1.5") << "1.5" << false << false;
    QTest::newRow("abc") << "abc" << false << false;
    QTest::newRow("blank inside") << "1 0" << false << false;
    QTest::newRow("hex") << "0x1" << false << false;
    QTest::newRow("non-ASCII digit") << QStringLiteral("\u0661") << false << false;
    QTest::newRow("Truex") << "Truex" << false << false;
}

void TestIniFile::toBool()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(bool, on);

    const std::optional<bool> got = IniFile::toBool(text);
    QCOMPARE(got.has_value(), valid);
    if (valid)
        QCOMPARE(*got, on);
}

void TestIniFile::toInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("60") << "60" << true << 60;
    QTest::newRow("-1") << "-1" << true << -1;
    QTest::newRow("+3") << "+3" << true << 3;
    QTest::newRow("007") << "007" << true << 7;
    QTest::newRow("blanks") << " 30\t" << true << 30;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("over largest") << "2147483648" << false << 0;
    QTest::newRow("under smallest") << "-2147483649" << false << 0;
    QTest::newRow("far over") << "99999999999999999999" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "+" << false << 0;
    QTest::newRow("1.5") << "1.5" << false << 0;
    QTest::newRow("True") << "True" << false << 0;
    QTest::newRow("blank inside") << "- 1" << false << 0;
    QTest::newRow("trailing text") << "12abc" << false << 0;
}

void TestIniFile::toInt()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const std::optional<int> got = IniFile::toInt(text);
    QCOMPARE(got.has_value(), valid);
    if (valid)
        QCOMPARE(*got, value);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
