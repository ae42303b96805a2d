#include "GridDelegate.h"

#include "data/QueryModel.h"

#include <QPainter>

namespace {
constexpr qsizetype kKeptTexts = 4096;
constexpr int kPadding = 3;
} // namespace

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    // Rows coloured by the grid's owner keep their colours when selected, in a stronger shade.
    const QVariant ownSelected = selected ? index.data(QueryModel::SelectedBackgroundRole) : QVariant();
    if (ownSelected.canConvert<QColor>()) {
        painter->fillRect(option.rect, ownSelected.value<QColor>());
    } else if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else if (const QVariant background = index.data(Qt::BackgroundRole); background.canConvert<QBrush>()) {
        painter->fillRect(option.rect, background.value<QBrush>());
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        if (m_texts.size() >= kKeptTexts)
            m_texts.clear();
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
        it = m_texts.insert(text, laidOut);
    }
    const QVariant foreground = index.data(Qt::ForegroundRole);
    const QColor colour = ownSelected.canConvert<QColor>() ? QColor(Qt::black)
        : selected                                         ? option.palette.color(group, QPalette::HighlightedText)
        : foreground.canConvert<QColor>()                  ? foreground.value<QColor>()
                                                           : option.palette.color(group, QPalette::Text);
    painter->save();
    painter->setPen(colour);
    painter->setFont(option.font);
    painter->setClipRect(option.rect.adjusted(0, 0, -1, 0));
    const int top = option.rect.top() + (option.rect.height() - option.fontMetrics.height()) / 2;
    painter->drawStaticText(option.rect.left() + kPadding, top, *it);
    painter->restore();
}
