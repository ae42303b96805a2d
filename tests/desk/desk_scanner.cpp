// A second desk for the concurrency test: a whole program on a given folder
// that scans one recipient with each of the given tools, round after round.
// Usage: desk_scanner FOLDER RECIPIENT ROUNDS TOOL...
#include "app/Application.h"
#include "desk/TfmMain.h"
#include "platform/fakes/FakePlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: desk_scanner FOLDER RECIPIENT ROUNDS TOOL...\n");
        return 2;
    }
    FakePlatform fakes;
    fakes.dialogs.modalScripts.push_back(
        [](QDialog& window) { window.findChild<QPushButton*>(QStringLiteral("btOper"))->click(); });
    Platform platform = fakes.platform();
    Application app(args[1], platform);
    app.setTimersEnabled(false);
    if (!app.start())
        return 3;
    TfmMain& desk = *app.main();
    desk.findChild<QCheckBox*>(QStringLiteral("cbClear"))->setChecked(true);
    auto* box = desk.findChild<QLineEdit*>(QStringLiteral("edInput"));
    auto* message = desk.findChild<QLabel*>(QStringLiteral("lbScanMessage"));
    const int rounds = args[3].toInt();
    int failures = 0;
    for (int r = 0; r < rounds; ++r) {
        for (int t = 4; t < args.size(); ++t) {
            for (const QString& code : {args[2], args[t]}) {
                const int beeps = fakes.sound.beeps;
                QTest::keyClicks(box, code);
                QTest::keyClick(box, Qt::Key_Return);
                // The desk beeps with every failure it tells on its message line.
                if (fakes.sound.beeps != beeps) {
                    std::fprintf(stderr, "%s\n", qPrintable(message->accessibleName()));
                    ++failures;
                }
            }
        }
    }
    for (const auto& shown : fakes.dialogs.shown) {
        if (shown.kind == u"error") {
            std::fprintf(stderr, "%s\n", qPrintable(shown.text));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
