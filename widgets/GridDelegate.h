#pragma once

#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints a grid cell as plain text clipped to the cell. The journal is
// repainted after every scan with mostly the same words shifted down a row,
// so each text's layout is kept and reused.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    mutable QHash<QString, QStaticText> m_texts;
};
