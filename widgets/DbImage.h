#pragma once

#include <QLabel>

class Query;

// A picture stored in a blob field of a query's current row, stretched to the
// control's size.
class DbImage : public QLabel
{
    Q_OBJECT
public:
    DbImage(Query& query, const QString& field, QSize size, QWidget* parent = nullptr);
    bool hasPicture() const { return m_hasPicture; }

private:
    void refresh();

    Query& m_query;
    QString m_field;
    bool m_hasPicture = false;
};
