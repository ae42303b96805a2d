#include <QtTest>
class TstPlaceholder : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(TstPlaceholder)
#include "tst_report_engine.moc"
