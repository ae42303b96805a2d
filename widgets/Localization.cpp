#include "Localization.h"

#include "DbGrid.h"
#include "data/QueryModel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <functional>

namespace {

using P = Localization::Property;

QWidget* findWindow(const QList<QWidget*>& windows, const char* name)
{
    for (QWidget* w : windows) {
        if (w && w->objectName() == QLatin1String(name))
            return w;
    }
    return nullptr;
}

void assign(QWidget* target, const Localization::Text& t, const QString& text)
{
    switch (t.property) {
    case P::Title:
        target->setWindowTitle(text);
        break;
    case P::Caption:
        if (auto* b = qobject_cast<QAbstractButton*>(target))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(target))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(target))
            g->setTitle(text);
        break;
    case P::Hint:
        if (auto* e = qobject_cast<QLineEdit*>(target))
            e->setPlaceholderText(text);
        break;
    case P::ToolTip:
        target->setToolTip(text);
        break;
    case P::ColumnTitle:
        if (auto* g = qobject_cast<DbGrid*>(target); g && g->queryModel())
            g->queryModel()->setColumnTitle(t.column, text);
        break;
    case P::Items:
        if (auto* c = qobject_cast<QComboBox*>(target)) {
            c->clear();
            c->addItems(text.split(u'\n'));
        }
        break;
    }
}

} // namespace

Localization::Localization(const QList<QList<Text>>& tables)
{
    for (const QList<Text>& table : tables)
        m_texts += table;
}

void Localization::addWindow(QWidget* window)
{
    m_windows << window;
}

void Localization::SetLanguage(int code)
{
    if (code == 1)
        SetTextsRU();
    else if (code == 0)
        SetTextsEN();
}

void Localization::SetTextsRU()
{
    apply(true);
}

void Localization::SetTextsEN()
{
    apply(false);
}

QWidget* Localization::control(QWidget* window, const char* name) const
{
    return controlsOf(window).value(QLatin1String(name));
}

QHash<QString, QWidget*> Localization::controlsOf(QWidget* window) const
{
    // One walk per window, in the order findChildren uses, so the first
    // control of a name wins; pages embedded in the window are left out.
    QHash<QString, QWidget*> found;
    const std::function<void(QObject*)> walk = [&](QObject* parent) {
        for (QObject* child : parent->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && m_windows.contains(widget))
                continue;
            if (widget && !widget->objectName().isEmpty() && !found.contains(widget->objectName()))
                found.insert(widget->objectName(), widget);
            walk(child);
        }
    };
    walk(window);
    return found;
}

void Localization::apply(bool russian)
{
    QHash<QWidget*, QHash<QString, QWidget*>> controls;
    for (const Text& t : m_texts) {
        QWidget* window = findWindow(m_windows, t.window);
        if (!window)
            continue; // a window of a later start step
        auto known = controls.find(window);
        if (known == controls.end())
            known = controls.insert(window, controlsOf(window));
        QWidget* target = *t.control ? known->value(QLatin1String(t.control)) : window;
        if (target)
            assign(target, t, QString::fromUtf8(russian ? t.ru : t.en));
    }
    // Windows refresh what follows from their texts (accessible names, headings).
    for (QWidget* w : m_windows) {
        // A page inside another window hears of it through that window.
        if (!w || !w->isWindow())
            continue;
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(w, &changed);
    }
}
