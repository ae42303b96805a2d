#include "app/Application.h"
#include "desk/TfmMain.h"
#include "platform/fakes/FakePlatform.h"
#include "support/TestData.h"

#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void deliveredFolderStarts();
};

void TestStartup::deliveredFolderStarts()
{
    TestData data;
    FakePlatform fakes;
    Platform platform = fakes.platform();
    Application app(data.folder(), platform);
    app.setTimersEnabled(false);
    const bool started = app.start();
    for (const auto& s : fakes.dialogs.shown)
        qDebug() << s.kind << s.text;
    QVERIFY(started);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
