#include "DbText.h"

#include "data/Query.h"

#include <QLocale>

DbText::DbText(Query& query, const QString& field, QWidget* parent)
    : QLabel(parent)
    , m_query(query)
    , m_field(field)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true); // a new value repaints the label alone, not the panel behind it
    connect(&m_query, &Query::currentChanged, this, &DbText::refresh);
    refresh();
}

void DbText::refresh()
{
    const bool shown = m_query.isOpen() && !m_query.isEmpty() && m_query.hasField(m_field);
    if (!shown) {
        setText(QString());
        return;
    }
    // Dates and money read as the grids show them.
    const QVariant v = m_query.value(m_field);
    switch (m_query.fieldKind(m_query.fieldIndex(m_field))) {
    case FieldKind::Date: {
        const QDate d = m_query.date(m_field);
        setText(d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : m_query.text(m_field));
        return;
    }
    case FieldKind::Real:
        setText(v.isNull() ? QString() : QLocale().toString(v.toDouble(), 'f', 2));
        return;
    default:
        setText(m_query.text(m_field));
    }
}
