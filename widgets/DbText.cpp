#include "DbText.h"

#include "data/FieldText.h"
#include "data/Query.h"

#include <QEvent>

DbText::DbText(Query& query, const QString& field, QWidget* parent)
    : ValueLabel(parent)
    , m_query(query)
    , m_field(field)
{
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
    setText(fieldText(m_query.value(m_field), m_query.fieldKind(m_query.fieldIndex(m_field))));
}

void DbText::changeEvent(QEvent* event)
{
    ValueLabel::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        refresh();
}
