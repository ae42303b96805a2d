// The two interface text sets: every row names a real control of a real
// window, no text is empty, and switching back and forth restores every text.
#include "config/TfmCFG.h"
#include "core/Messages.h"
#include "data/QueryModel.h"
#include "desk/TfmMain.h"
#include "support/DeskFixture.h"
#include "widgets/ColourButton.h"
#include "widgets/DbGrid.h"
#include "widgets/Localization.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestLocalization : public QObject
{
    Q_OBJECT
private slots:
    void everyTargetExists();
    void noTextIsEmpty();
    void switchingBackRestoresEveryText();
    void batchHeadingFollowsLanguage();

private:
    static QWidget* target(DeskFixture& f, const Localization::Text& t);
    static QString current(QWidget* w, const Localization::Text& t);
};

QWidget* TestLocalization::target(DeskFixture& f, const Localization::Text& t)
{
    for (QWidget* window : f.app().windows()) {
        if (window->objectName() == QLatin1String(t.window))
            return *t.control ? f.app().localization().control(window, t.control) : window;
    }
    return nullptr;
}

QString TestLocalization::current(QWidget* w, const Localization::Text& t)
{
    using P = Localization::Property;
    switch (t.property) {
    case P::Title:
        return w->windowTitle();
    case P::Caption:
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            return g->title();
        return {};
    case P::Hint:
        return qobject_cast<QLineEdit*>(w) ? qobject_cast<QLineEdit*>(w)->placeholderText() : QString();
    case P::ToolTip:
        return w->toolTip();
    case P::ColumnTitle: {
        auto* g = qobject_cast<DbGrid*>(w);
        return g && g->queryModel() ? g->queryModel()->headerData(t.column, Qt::Horizontal).toString() : QString();
    }
    case P::Items: {
        auto* c = qobject_cast<QComboBox*>(w);
        QStringList items;
        for (int i = 0; c && i < c->count(); ++i)
            items << c->itemText(i);
        return items.join(u'\n');
    }
    }
    return {};
}

void TestLocalization::everyTargetExists()
{
    DeskFixture f;
    QSet<QString> targets;
    for (const Localization::Text& t : f.app().localization().texts()) {
        const QString name = QStringLiteral("%1.%2/%3/%4").arg(t.window, t.control).arg(int(t.property)).arg(t.column);
        QVERIFY2(!targets.contains(name), qPrintable("assigned twice: " + name));
        targets.insert(name);
        QWidget* w = target(f, t);
        QVERIFY2(w, qPrintable("no such control: " + name));
        // The property fits the control: the assignment shows in it.
        QCOMPARE(current(w, t).isEmpty(), false);
    }
}

void TestLocalization::noTextIsEmpty()
{
    DeskFixture f;
    for (const Localization::Text& t : f.app().localization().texts()) {
        QVERIFY2(*t.ru && *t.en, t.control);
    }
    QSet<QString> names;
    for (const MessageText& m : messageTexts()) {
        QVERIFY2(*m.ru && *m.en, m.name);
        names.insert(QLatin1String(m.name));
    }
    // Every message the program holds is in the table, each row on a field
    // of its own: a row aimed at another row's field overwrites it here.
    Messages texts;
    int fields = 0;
    for (const MessageText& m : messageTexts()) {
        texts.*(m.field) = QLatin1String(m.name);
        ++fields;
    }
    for (const MessageText& m : messageTexts())
        QCOMPARE(texts.*(m.field), QLatin1String(m.name));
    QCOMPARE(fields, names.size());
    QCOMPARE(sizeof(Messages) / sizeof(QString), size_t(fields));
}

void TestLocalization::switchingBackRestoresEveryText()
{
    DeskFixture f;
    const auto& rows = f.app().localization().texts();
    auto snapshot = [&] {
        QStringList texts;
        for (const Localization::Text& t : rows)
            texts << current(target(f, t), t);
        return texts;
    };
    QComboBox* box = f.control<QComboBox>("TfmCFG", "cbLeng");
    QCOMPARE(box->currentIndex(), 0);
    box->setCurrentIndex(1);
    const QStringList english = snapshot();
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(english[i], QString::fromUtf8(rows[i].en));
    QCOMPARE(f.session().texts().rsIssuedToOther, QStringLiteral("Instrument issued to another recipient!"));
    box->setCurrentIndex(0);
    const QStringList russian = snapshot();
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(russian[i], QString::fromUtf8(rows[i].ru));
    QCOMPARE(f.session().texts().rsIssuedToOther, QStringLiteral("Инструмент выдан другому получателю!"));
    box->setCurrentIndex(1);
    QCOMPARE(snapshot(), english);
}

void TestLocalization::batchHeadingFollowsLanguage()
{
    DeskFixture f;
    TfmMain& m = f.main();
    m.btPacketClick();
    m.PacketSeconds = 3;
    f.control<QComboBox>("TfmCFG", "cbLeng")->setCurrentIndex(1);
    QCOMPARE(f.control<QLabel>("TfmMain", "Label9")->text(), QStringLiteral("Batch tool issue"));
    QCOMPARE(f.control<ColourButton>("TfmMain", "btPacket")->text(), QStringLiteral("To complete"));
    QCOMPARE(m.PacketSeconds, 3); // a language change is no key: the countdown goes on
}

QTEST_MAIN(TestLocalization)
#include "tst_localization.moc"
