#pragma once

#include <QLineEdit>

class Query;

// An edit box over one field of a query's current row. While the row is
// being edited or inserted, what is typed goes into the row at once; a text
// the field cannot hold (a price that is not a number) is kept in the box and
// marked, and the row keeps its last good value.
class DbEdit : public QLineEdit
{
    Q_OBJECT
public:
    DbEdit(Query& query, const QString& field, QWidget* parent = nullptr);
    const QString& field() const { return m_field; }
    // False while the box holds text its field cannot take.
    bool valueAccepted() const { return m_accepted; }

protected:
    // A language switch changes how amounts are written.
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void write(const QString& text);

    Query& m_query;
    QString m_field;
    bool m_writing = false;
    bool m_accepted = true;
};
