// The settings page reading and writing Data/Config.ini through a started program.
#include "config/TfmSettings.h"
#include "core/IniFile.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void headerOnlyFile();
    void columnDefaultsAppendedOnce();
    void columnDefaultsGoIntoMainSection();
    void markerOnKeepsAbsentColumnsOff();
    void badValuesReportedOthersLoaded();
    void timeoutsClampedAndWrittenAtEnd();
    void language_data();
    void language();
    void columnClickWritesAllEleven();
    void clearCheckBox_data();
    void clearCheckBox();
    void clearFlagChangedFromEitherSide_data();
    void clearFlagChangedFromEitherSide();
    void checkBoxesWriteTheirForms();
    void deliveredFileShowsToolNames();

private:
    static QString value(const DeskFixture& f, const QString& key)
    {
        return IniFile(f.data().iniPath()).read("MAIN", key).value_or("<absent>");
    }
};

void TestSettings::headerOnlyFile()
{
    DeskFixture f(QStringLiteral("[MAIN]\n"));
    QVERIFY(f.started());
    TfmSettings& s = f.settings();
    for (QCheckBox* box :
         {DeskFixture::find<QCheckBox>(s, "cbShowTime"), DeskFixture::find<QCheckBox>(s, "cbReturnToolOnlyOwner"),
          DeskFixture::find<QCheckBox>(s, "cbShowRecordCount"), DeskFixture::find<QCheckBox>(s, "cbShowMainForm"),
          DeskFixture::find<QCheckBox>(s, "cbPlaySound")})
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    QCOMPARE(DeskFixture::find<QSpinBox>(s, "edShowTimer")->value(), 1);
    QCOMPARE(DeskFixture::find<QSpinBox>(s, "edTimer")->value(), 1);
    QCOMPARE(DeskFixture::find<QSpinBox>(s, "edPacketTimer")->value(), 1);
    QCOMPARE(value(f, "Lenguage"), QStringLiteral("RU"));
    QCOMPARE(value(f, "PlaySound"), QStringLiteral("0")); // design state was on: written back as read
    const auto boxes = s.columnBoxes();
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(boxes[i]->isChecked(), i < 7);
    QVERIFY(f.fakes().dialogs.shown.isEmpty());
}

void TestSettings::columnDefaultsAppendedOnce()
{
    TestData data;
    data.writeIni("[MAIN]\nLenguage=RU\n");
    for (int start = 0; start < 2; ++start) {
        ProgramRun run(data.folder(), DeskFixture::SignIn::Administrator);
        QVERIFY(run.started);
    }
    const QString text = data.readIni();
    QCOMPARE(text.count("ToolColumnView="), 1);
    QCOMPARE(text.count("ToolColumnView_Mesto=0"), 1);
    QVERIFY(text.indexOf("ToolColumnView=-1") < text.indexOf("ToolColumnView_Type=-1"));
}

void TestSettings::columnDefaultsGoIntoMainSection()
{
    TestData data;
    data.writeIni("[MAIN]\nLenguage=RU\nHash=21232F297A57A5A743894A0E4A801FC3\n[PRINTER]\nName=office\n");
    for (int start = 0; start < 2; ++start) {
        ProgramRun run(data.folder(), DeskFixture::SignIn::Administrator);
        QVERIFY(run.started);
        QCOMPARE(DeskFixture::find<QCheckBox>(*run.app.window("TfmSettings"), "cbToolType")->isChecked(), true);
    }
    const QString text = data.readIni();
    QCOMPARE(text.count("ToolColumnView_Mesto=0"), 1);
    QVERIFY2(text.indexOf("ToolColumnView_Mesto") < text.indexOf("[PRINTER]"), qPrintable(text));
    QVERIFY(text.contains("[PRINTER]\nName=office"));
}

void TestSettings::markerOnKeepsAbsentColumnsOff()
{
    DeskFixture f(QStringLiteral("[MAIN]\nToolColumnView=-1\nToolColumnView_Type=-1\nToolColumnView_Price=1\n"));
    const auto boxes = f.settings().columnBoxes();
    QVERIFY(boxes[0]->isChecked());
    QVERIFY(!boxes[1]->isChecked());
    QVERIFY(boxes[7]->isChecked());
    QCOMPARE(f.data().readIni().count("ToolColumnView_Model"), 0);
}

void TestSettings::badValuesReportedOthersLoaded()
{
    DeskFixture f(
        QStringLiteral("[MAIN]\nShowTime=yes\nTimerInterval=abc\nPacketTimer=33\nPlaySound=-1\nShowRecordCount=1\n"
                       "HistoryColumnView_Naim=maybe\n"));
    QVERIFY(f.started());
    const QList<FakeDialogs::Shown> errors = [&] {
        QList<FakeDialogs::Shown> e;
        for (const auto& s : f.startupShown)
            if (s.kind == u"error")
                e << s;
        return e;
    }();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().text.contains("ShowTime: 'yes' is not a valid boolean value"));
    QVERIFY(errors.first().text.contains("TimerInterval: 'abc' is not a valid integer value"));
    QVERIFY(errors.first().text.contains("HistoryColumnView_Naim: 'maybe' is not a valid boolean value"));
    TfmSettings& s = f.settings();
    QCOMPARE(DeskFixture::find<QSpinBox>(s, "edPacketTimer")->value(), 33);
    QVERIFY(DeskFixture::find<QCheckBox>(s, "cbPlaySound")->isChecked());
    QVERIFY(DeskFixture::find<QCheckBox>(s, "cbShowRecordCount")->isChecked());
    QVERIFY(!DeskFixture::find<QCheckBox>(s, "cbShowTime")->isChecked());
    QCOMPARE(DeskFixture::find<QSpinBox>(s, "edTimer")->value(), 5);        // keeps its design value
    QVERIFY(DeskFixture::find<QCheckBox>(s, "cbHistoryNaim")->isChecked()); // and its default
}

void TestSettings::timeoutsClampedAndWrittenAtEnd()
{
    TestData data;
    data.writeIni("[MAIN]\nShowMainFormTimer=0\nTimerInterval=20000\nPacketTimer=45\n");
    const IniFile ini(data.iniPath());
    {
        ProgramRun run(data.folder(), DeskFixture::SignIn::Administrator);
        QVERIFY(run.started);
        QCOMPARE(DeskFixture::find<QSpinBox>(*run.app.window("TfmSettings"), "edShowTimer")->value(), 1);
        QCOMPARE(DeskFixture::find<QSpinBox>(*run.app.window("TfmSettings"), "edTimer")->value(), 10000);
        DeskFixture::find<QSpinBox>(*run.app.window("TfmSettings"), "edPacketTimer")->setValue(46);
        QCOMPARE(ini.read("MAIN", "PacketTimer").value_or(""), QStringLiteral("45")); // written at the end only
    }
    QCOMPARE(ini.read("MAIN", "ShowMainFormTimer").value_or(""), QStringLiteral("1"));
    QCOMPARE(ini.read("MAIN", "TimerInterval").value_or(""), QStringLiteral("10000"));
    QCOMPARE(ini.read("MAIN", "PacketTimer").value_or(""), QStringLiteral("46"));
}

void TestSettings::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("used");
    QTest::newRow("absent") << QString() << "RU";
    QTest::newRow("lower case en") << "en"
                                   << "EN";
    QTest::newRow("RU") << "RU"
                        << "RU";
    QTest::newRow("unknown starts Russian") << "DE"
                                            << "RU";
}

void TestSettings::language()
{
    QFETCH(QString, stored);
    QFETCH(QString, used);
    DeskFixture f(stored.isNull() ? QStringLiteral("[MAIN]\n") : QStringLiteral("[MAIN]\nLenguage=%1\n").arg(stored));
    QCOMPARE(f.session().language(), used);
    QCOMPARE(value(f, "Lenguage"), used);
    // No password in the file: only the operator can sign in.
    QCOMPARE(f.main().windowTitle(),
             used == u"RU"
                 ? QStringLiteral("Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!")
                 : QStringLiteral("Tool issue | EDITING PROHIBITED, CONTACT AN ADMINISTRATOR!"));
    QCOMPARE(f.control<QCheckBox>("TfmSettings", "cbShowTime")->text(),
             used == u"RU" ? QStringLiteral(" Отображать время в общем журнале")
                           : QStringLiteral(" Display time in general log"));
}

void TestSettings::columnClickWritesAllEleven()
{
    DeskFixture f(QStringLiteral("[MAIN]\nToolColumnView=-1\nToolColumnView_Type=-1\n"));
    f.control<QCheckBox>("TfmSettings", "cbToolType")->setChecked(false); // hidden page: nothing is written
    QCOMPARE(value(f, "ToolColumnView_Type"), QStringLiteral("-1"));
    f.main().show();
    f.control<QPushButton>("TfmMain", "btSettings")->click();
    QVERIFY(f.settings().isVisible());
    f.control<QCheckBox>("TfmSettings", "cbInv")->click();
    QCOMPARE(value(f, "ToolColumnView_Type"), QStringLiteral("0"));
    QCOMPARE(value(f, "ToolColumnView_Inv"), QStringLiteral("-1"));
    QCOMPARE(value(f, "ToolColumnView_Mesto"), QStringLiteral("0"));
}

void TestSettings::clearCheckBox_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("true") << "True" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("unconvertible reads off silently") << "maybe" << false;
    QTest::newRow("absent") << QString() << false;
}

void TestSettings::clearCheckBox()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    DeskFixture f(stored.isNull() ? QStringLiteral("[MAIN]\n")
                                  : QStringLiteral("[MAIN]\nClearCheckBox=%1\n").arg(stored));
    QCOMPARE(f.control<QCheckBox>("TfmMain", "cbClear")->isChecked(), on);
    QVERIFY(f.startupShown.isEmpty() || f.startupShown.first().kind != u"error");
    f.control<QCheckBox>("TfmMain", "cbClear")->click();
    QCOMPARE(value(f, "ClearCheckBox"), on ? QStringLiteral("0") : QStringLiteral("1"));
}

void TestSettings::clearFlagChangedFromEitherSide_data()
{
    QTest::addColumn<bool>("fromCore"); // else by the check box
    QTest::newRow("check box") << false;
    QTest::newRow("core, as the manual issue window does") << true;
}

// The desk keeps the flag; the box shows it and the file keeps it, whoever changed it.
void TestSettings::clearFlagChangedFromEitherSide()
{
    QFETCH(bool, fromCore);
    DeskFixture f(QStringLiteral("[MAIN]\nClearCheckBox=0\n"));
    auto* box = f.control<QCheckBox>("TfmMain", "cbClear");
    for (const bool on : {true, false}) {
        if (fromCore)
            f.desk().setClearAfterEvent(on);
        else
            box->setChecked(on);
        QCOMPARE(f.desk().clearAfterEvent(), on);
        QCOMPARE(box->isChecked(), on);
        QCOMPARE(value(f, "ClearCheckBox"), on ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

void TestSettings::checkBoxesWriteTheirForms()
{
    DeskFixture f(QStringLiteral("[MAIN]\n"));
    TfmSettings& s = f.settings();
    DeskFixture::find<QCheckBox>(s, "cbReturnToolOnlyOwner")->click();
    DeskFixture::find<QCheckBox>(s, "cbShowRecordCount")->click();
    DeskFixture::find<QCheckBox>(s, "cbShowMainForm")->click();
    DeskFixture::find<QCheckBox>(s, "cbPlaySound")->click();
    DeskFixture::find<QCheckBox>(s, "cbShowTime")->click();
    QCOMPARE(value(f, "ReturnToolOnlyOwner"), QStringLiteral("1"));
    QCOMPARE(value(f, "ShowRecordCount"), QStringLiteral("1"));
    QCOMPARE(value(f, "ShowMainForm"), QStringLiteral("-1"));
    QCOMPARE(value(f, "PlaySound"), QStringLiteral("-1"));
    QCOMPARE(value(f, "ShowTime"), QStringLiteral("1"));
    f.main().RestoreSeconds = 7;
    DeskFixture::find<QCheckBox>(s, "cbShowMainForm")->click();
    QCOMPARE(value(f, "ShowMainForm"), QStringLiteral("0"));
    QCOMPARE(f.main().RestoreSeconds, 7);
    DeskFixture::find<QCheckBox>(s, "cbShowMainForm")->click();
    QCOMPARE(f.main().RestoreSeconds, 0);
}

// Tools entered with a code and a name show both in the tool list, and the
// journals show which tool moved.
void TestSettings::deliveredFileShowsToolNames()
{
    QFile delivered(TestData::deliveredData() + QStringLiteral("/Config.ini"));
    QVERIFY(delivered.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(delivered.readAll());
    const QStringList lines = text.split(u'\n');
    for (const char* line :
         {"ToolColumnView=-1", "ToolColumnView_Naim=-1", "HistoryColumnView_ID_Tool=-1", "HistoryColumnView_Naim=-1"})
        QVERIFY2(lines.contains(QLatin1String(line)), line);
    DeskFixture f;
    QVERIFY(f.settings().columnBoxes().at(8)->isChecked()); // "Наименование"
    QVERIFY(f.control<QCheckBox>("TfmSettings", "cbHistoryToolID")->isChecked());
    QVERIFY(f.control<QCheckBox>("TfmSettings", "cbHistoryNaim")->isChecked());
    QCOMPARE(f.data().readIni(), text); // a start adds nothing to it
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
