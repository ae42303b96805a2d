#pragma once

#include "import/ImportPlan.h"

#include <QAbstractTableModel>

struct Messages;

// The preview's rows: the file's line, the code to be written, the verdict,
// then the file's cells; refused rows stand out. Built for ten thousand
// rows: nothing is copied per cell.
class ImportRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ImportRowsModel(QObject* parent = nullptr);

    void show(const ImportTable* table, const ImportPlan* plan, const Messages* texts, const QStringList& captions);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ImportTable* m_table = nullptr;
    const ImportPlan* m_plan = nullptr;
    const Messages* m_texts = nullptr;
    QStringList m_captions; // line, code, verdict, then the file's headings
};
