// Every control a user reaches can be found by screen readers and desktop
// automation: named, captioned by a label, or carrying its hint; in both languages.
#include "support/DeskFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyControlHasAName_data();
    void everyControlHasAName();
};

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("RU") << "RU";
    QTest::newRow("EN") << "EN";
}

void TestAccessibility::everyControlHasAName()
{
    QFETCH(QString, language);
    DeskFixture f(QStringLiteral("[MAIN]\nLenguage=%1\n").arg(language));
    QVERIFY(f.started());
    for (QWidget* window : f.app().windows()) {
        QSet<const QWidget*> buddies;
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() && !label->text().trimmed().isEmpty())
                buddies.insert(label->buddy());
        }
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w)
                || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w);
            const auto* button = qobject_cast<QAbstractButton*>(w);
            if (!input && !button)
                continue;
            // Inner parts of compound controls: a spin box's edit, a grid's headers
            // and corner, a drop-down's list.
            bool inner = qobject_cast<QHeaderView*>(w);
            for (const QWidget* owner = w->parentWidget(); owner && owner != window && !inner;
                 owner = owner->parentWidget())
                inner = qobject_cast<const QAbstractSpinBox*>(owner) || qobject_cast<const QAbstractItemView*>(owner)
                    || qobject_cast<const QComboBox*>(owner);
            if (inner)
                continue;
            QVERIFY2(!w->objectName().isEmpty(),
                     qPrintable(window->objectName() + ": a " + w->metaObject()->className() + " without a name"));
            const bool named = !w->accessibleName().trimmed().isEmpty() || buddies.contains(w)
                || (button && !button->text().trimmed().isEmpty());
            QVERIFY2(named, qPrintable(window->objectName() + "." + w->objectName()));
        }
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
