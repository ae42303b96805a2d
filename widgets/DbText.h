#pragma once

#include "ValueLabel.h"

class Query;

// A label showing one field of a query's current row, read out as its name.
class DbText : public ValueLabel
{
    Q_OBJECT
public:
    DbText(Query& query, const QString& field, QWidget* parent = nullptr);
    const QString& field() const { return m_field; }

protected:
    // A language switch changes how amounts are written.
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    Query& m_query;
    QString m_field;
};
