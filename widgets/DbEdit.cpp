#include "DbEdit.h"

#include "data/DbError.h"
#include "data/FieldText.h"
#include "data/Query.h"

#include <QEvent>

DbEdit::DbEdit(Query& query, const QString& field, QWidget* parent)
    : QLineEdit(parent)
    , m_query(query)
    , m_field(field)
{
    connect(&m_query, &Query::currentChanged, this, &DbEdit::refresh);
    connect(this, &QLineEdit::textEdited, this, &DbEdit::write);
    refresh();
}

void DbEdit::refresh()
{
    if (m_writing)
        return;
    QString text;
    if (m_query.isOpen() && m_query.hasField(m_field)
        && (!m_query.isEmpty() || m_query.state() != Query::State::Browse))
        text = fieldText(m_query.value(m_field), m_query.fieldKind(m_query.fieldIndex(m_field)));
    m_accepted = true;
    setStyleSheet(QString());
    setText(text);
}

void DbEdit::write(const QString& text)
{
    if (m_query.state() == Query::State::Browse)
        return;
    m_writing = true;
    try {
        m_query.setValue(m_field, text);
        m_accepted = true;
    } catch (const DbError&) {
        m_accepted = false;
    }
    m_writing = false;
    setStyleSheet(m_accepted ? QString() : QStringLiteral("QLineEdit { background: #ffd0d0; }"));
}

void DbEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && m_accepted)
        refresh();
}
