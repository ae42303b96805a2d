#pragma once

#include <QComboBox>
#include <QList>
#include <optional>

class Query;

// The pick-only work type choice of a page: the names of the work types in
// their stored order and an empty last item meaning no work type. Each page
// keeps its own choice by row key, so two work types of one name stay apart
// and a choice on one page never narrows another page's list.
class WorkTypeBox : public QComboBox
{
    Q_OBJECT
public:
    explicit WorkTypeBox(QWidget* parent = nullptr);

    // Refills from the work type rows, read again from the store; the rows'
    // current work type stays current. With keepChoice the chosen work type
    // stays chosen while it exists; otherwise nothing is chosen.
    void load(Query& workTypes, bool keepChoice);
    // The chosen work type's key; nothing when the choice is blank.
    std::optional<qint64> chosenKey() const;

private:
    QList<qint64> m_keys; // in item order
};
