#include "WorkTypeBox.h"

#include "data/Columns.h"
#include "data/Query.h"

WorkTypeBox::WorkTypeBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
}

void WorkTypeBox::load(Query& workTypes, bool keepChoice)
{
    const std::optional<qint64> chosen = keepChoice ? chosenKey() : std::nullopt;
    const std::optional<qint64> current = workTypes.isOpen() && workTypes.recNo() >= 0
        ? std::optional<qint64>(workTypes.integer(col::Key))
        : std::nullopt;
    // Another window or another copy of the program may have changed them.
    if (workTypes.isOpen())
        workTypes.reopen();
    else
        workTypes.open();
    if (current)
        workTypes.locate(col::Key, *current);

    while (workTypes.canFetchMore())
        workTypes.fetchMore();
    const int key = workTypes.fieldIndex(col::Key);
    const int name = workTypes.fieldIndex(col::Dictionary::AField);
    m_keys.clear();
    clear();
    int chosenIndex = -1;
    for (int row = 0; row < workTypes.fetchedCount(); ++row) {
        const qint64 rowKey = workTypes.value(row, key).toLongLong();
        if (chosen && rowKey == *chosen && chosenIndex < 0)
            chosenIndex = row;
        addItem(workTypes.value(row, name).toString());
        m_keys << rowKey;
    }
    addItem(QString()); // the last item means no work type
    setCurrentIndex(chosenIndex);
}

std::optional<qint64> WorkTypeBox::chosenKey() const
{
    const int index = currentIndex();
    // A blank name means no work type, as the choice reads.
    if (index < 0 || index >= m_keys.size() || currentText().trimmed().isEmpty())
        return std::nullopt;
    return m_keys.at(index);
}
