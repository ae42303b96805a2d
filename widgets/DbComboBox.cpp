#include "DbComboBox.h"

#include "data/DbError.h"
#include "data/Query.h"

#include <QLineEdit>

DbComboBox::DbComboBox(Query& query, const QString& field, bool editable, QWidget* parent)
    : QComboBox(parent)
    , m_query(query)
    , m_field(field)
{
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    connect(&m_query, &Query::currentChanged, this, &DbComboBox::refresh);
    if (editable)
        connect(lineEdit(), &QLineEdit::textEdited, this, &DbComboBox::write);
    connect(this, &QComboBox::activated, this, [this](int index) { write(itemText(index)); });
    refresh();
}

void DbComboBox::setEntries(const QStringList& entries)
{
    m_writing = true;
    clear();
    addItems(entries);
    m_writing = false;
    refresh();
}

void DbComboBox::refresh()
{
    if (m_writing)
        return;
    m_writing = true;
    const bool shown = m_query.isOpen() && m_query.hasField(m_field)
        && (!m_query.isEmpty() || m_query.state() != Query::State::Browse);
    const QString value = shown ? m_query.text(m_field) : QString();
    if (isEditable())
        setEditText(value);
    else
        setCurrentIndex(findText(value, Qt::MatchExactly));
    m_writing = false;
}

void DbComboBox::write(const QString& text)
{
    if (m_writing || m_query.state() == Query::State::Browse)
        return;
    m_writing = true;
    try {
        m_query.setValue(m_field, text);
    } catch (const DbError&) {
        // Text fields take any text.
    }
    m_writing = false;
}
