#pragma once

#include <QComboBox>

class Query;

// A drop-down over one field of a query's current row. Editable: the text
// typed or picked is stored. A lookup list (not editable): only an offered
// entry can be picked, and a stored text missing from the list shows empty.
class DbComboBox : public QComboBox
{
    Q_OBJECT
public:
    DbComboBox(Query& query, const QString& field, bool editable, QWidget* parent = nullptr);
    // Replaces the offered entries, keeping the field's value.
    void setEntries(const QStringList& entries);

private:
    void refresh();
    void write(const QString& text);

    Query& m_query;
    QString m_field;
    bool m_writing = false;
};
