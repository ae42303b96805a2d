#pragma once

#include "LabelFace.h"
#include "LabelItem.h"
#include "LabelLayout.h"
#include "LabelSymbol.h"
#include "SymbolGrid.h"

#include <QList>
#include <QPointF>

class QPagedPaintDevice;
class WorkProgress;
struct Messages;

// What to print and how.
struct LabelRequest {
    LabelLayout layout;
    LabelSymbol symbol = LabelSymbol::Code128;
    int skip = 0;   // labels already used on the first sheet
    int copies = 1; // of each label, one after another
    QPointF offset; // the printer's, mm right and down
};

// A run of labels, every one encoded and fitted before anything is drawn:
// a code that cannot be printed stops the run before any page exists.
class LabelRun
{
public:
    // Throws LabelError for the first code refused, or when there is nothing
    // to print.
    LabelRun(const QList<LabelItem>& items, const LabelRequest& request, const Messages& texts);

    // One placed label: which item, on which page, in which box (mm, the
    // printer's offset included).
    struct Placement {
        int item;
        int page;
        int slot;
        QRectF box;
    };
    const QList<Placement>& placements() const { return m_placements; }
    int pageCount() const { return m_placements.isEmpty() ? 0 : m_placements.last().page + 1; }
    const LabelRequest& request() const { return m_request; }

    // Draws every page on device, already set to the layout's page with no
    // margins. Returns false when the device refused a page. Tells progress
    // of the labels drawn; a cancel there throws WorkCancelled.
    bool paint(QPagedPaintDevice& device, WorkProgress* progress = nullptr) const;
    // Writes a PDF at exact size, whole or not at all. Throws FileWriteError,
    // or WorkCancelled when progress was cancelled (nothing is written then).
    void writePdf(const QString& file, WorkProgress* progress = nullptr) const;

private:
    struct Prepared {
        SymbolGrid grid;
        LabelFace face;
    };
    QList<LabelItem> m_items;
    LabelRequest m_request;
    std::vector<Prepared> m_prepared;
    std::vector<std::size_t> m_preparedOf; // item -> its prepared symbol
    QList<Placement> m_placements;
};
