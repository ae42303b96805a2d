#include "DbEdit.h"

#include "data/DbError.h"
#include "data/Query.h"

#include <QLocale>

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
    if (m_query.isOpen() && m_query.hasField(m_field) && (!m_query.isEmpty() || m_query.state() != Query::State::Browse)) {
        const int c = m_query.fieldIndex(m_field);
        switch (m_query.fieldKind(c)) {
        case FieldKind::Date: {
            const QDate d = m_query.date(m_field);
            text = d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : m_query.text(m_field);
            break;
        }
        case FieldKind::Real: {
            const QVariant v = m_query.value(m_field);
            text = v.isNull() ? QString() : QLocale().toString(v.toDouble(), 'f', 2);
            break;
        }
        default:
            text = m_query.text(m_field);
        }
    }
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
