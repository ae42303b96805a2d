// `--export` from the command line: the real program without a display
// writes the whole register with the saved columns in the stored language,
// and answers 0 written, 1 refused, 2 wrong arguments.
#include "data/Connection.h"
#include "support/ProgramRun.h"
#include "support/TestData.h"

#include <QProcess>
#include <QtTest>

namespace {

using Outcome = ProgramOutcome;

class ProgramFolder
{
public:
    ProgramFolder()
    {
        QFile::copy(QStringLiteral(TOOLDESK_BINARY), program());
        Connection db;
        db.open(data.dbPath());
        db.exec("INSERT INTO Users (ID_User, FIO) VALUES ('U1', 'Иванов; И.И.'), ('U2', NULL)");
        db.exec("INSERT INTO Tools (ID_Tool, Tool_Type, Model, Price, Date_Purchase, Passed, WriteOff) VALUES "
                "('T1', 'Дрель', 'GSB', 1500.5, '2026-12-01', 1, 0), ('T2', 'Ключ', 'K2', 200, NULL, 0, 0), "
                "('T3', 'Списан', 'W', 1, NULL, 1, 1)");
        // Price shown, the model hidden.
        data.writeIni(
            data.readIni()
                .replace(QStringLiteral("ToolColumnView_Price=0"), QStringLiteral("ToolColumnView_Price=-1"))
                .replace(QStringLiteral("ToolColumnView_Model=-1"), QStringLiteral("ToolColumnView_Model=0")));
    }

    QString program() const { return data.folder() + QStringLiteral("tooldesk"); }
    QString file(const QString& name) const { return out.filePath(name); }

    Outcome run(const QStringList& arguments) const
    {
        return runWithoutDisplay(program(), QStringList{QStringLiteral("--export")} + arguments);
    }

    TestData data;
    QTemporaryDir out;
};

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

} // namespace

class TestExportCommand : public QObject
{
    Q_OBJECT
private slots:
    void wholeRegisterWithSavedColumns_data();
    void wholeRegisterWithSavedColumns();
    void excelFile();
    void wrongArguments_data();
    void wrongArguments();
    void unwritableFileRefused();
};

void TestExportCommand::wholeRegisterWithSavedColumns_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("expected");
    // Issued tools first, as the list shows them; written-off ones never.
    QTest::newRow("tools") << "RU"
                           << "tools"
                           << QByteArray("ID инструмента;Тип;Производитель;Серийный №;Состояние;Приобретен;Гарантия;"
                                         "Цена;Наименование\r\n"
                                         "T2;Ключ;;;;;;200;\r\n"
                                         "T1;Дрель;;;;01.12.2026;;1500,5;\r\n");
    QTest::newRow("tools in English") << "EN"
                                      << "tools"
                                      << QByteArray("ID tool;Tool;Brand;Serial №;Condition;Purchase date;Warranty;"
                                                    "Price;Name\r\n"
                                                    "T2;Ключ;;;;;;200;\r\n"
                                                    "T1;Дрель;;;;01.12.2026;;1500,5;\r\n");
    QTest::newRow("recipients") << "RU"
                                << "recipients"
                                << QByteArray("ID получателя;ФИО;Телефон;Организация;Отдел;ФИО руководителя;"
                                              "Тел. руководителя\r\n"
                                              "U1;\"Иванов; И.И.\";;;;;\r\n"
                                              "U2;;;;;;\r\n");
}

void TestExportCommand::wholeRegisterWithSavedColumns()
{
    QFETCH(QString, language);
    QFETCH(QString, kind);
    QFETCH(QByteArray, expected);
    ProgramFolder folder;
    folder.data.writeIni(
        folder.data.readIni().replace(QStringLiteral("Lenguage=RU"), QStringLiteral("Lenguage=") + language));
    const QString file = folder.file(QStringLiteral("register.CSV"));
    const Outcome o = folder.run({kind, file});
    QVERIFY2(o.status == 0, qPrintable(o.err));
    QVERIFY2(o.out.contains(file), qPrintable(o.out));
    QCOMPARE(contents(file), QByteArray("\xEF\xBB\xBF") + expected);
}

void TestExportCommand::excelFile()
{
    ProgramFolder folder;
    const QString file = folder.file(QStringLiteral("tools.xlsx"));
    const Outcome o = folder.run({QStringLiteral("tools"), file});
    QVERIFY2(o.status == 0, qPrintable(o.err));
    QVERIFY(contents(file).startsWith("PK\x03\x04")); // a zip package, as every .xlsx
}

void TestExportCommand::wrongArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no file") << QStringList{"tools"};
    QTest::newRow("unknown register") << QStringList{"places", "p.csv"};
    QTest::newRow("unknown format") << QStringList{"tools", "t.txt"};
    QTest::newRow("no suffix") << QStringList{"tools", "t"};
    QTest::newRow("one more") << QStringList{"tools", "t.csv", "u.csv"};
}

void TestExportCommand::wrongArguments()
{
    QFETCH(QStringList, arguments);
    ProgramFolder folder;
    QStringList absolute;
    for (const QString& a : arguments)
        absolute << (a.contains(u'.') ? folder.file(a) : a);
    const Outcome o = folder.run(absolute);
    QCOMPARE(o.status, 2);
    QVERIFY2(o.err.contains(QStringLiteral("usage: tooldesk --export")), qPrintable(o.err));
    QCOMPARE(QDir(folder.out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestExportCommand::unwritableFileRefused()
{
    ProgramFolder folder;
    const QString file = folder.file(QStringLiteral("missing/tools.csv"));
    const Outcome o = folder.run({QStringLiteral("tools"), file});
    QCOMPARE(o.status, 1);
    QVERIFY2(o.err.startsWith(QStringLiteral("Файл НЕ записан: ") + file), qPrintable(o.err));
    QVERIFY2(o.err.contains(QStringLiteral("Папка не найдена")), qPrintable(o.err));
}

QTEST_MAIN(TestExportCommand)
#include "tst_export_command.moc"
