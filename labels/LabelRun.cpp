#include "LabelRun.h"

#include "LabelError.h"

#include "core/Messages.h"
#include "data/WholeFileWriter.h"
#include "data/WorkCancelled.h"

#include <QBuffer>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kDotsPerInch = 1200;
constexpr qint64 kLabelsPerProgress = 50;
constexpr double kDotsPerMm = kDotsPerInch / 25.4;

} // namespace

LabelRun::LabelRun(const QList<LabelItem>& items, const LabelRequest& request, const Messages& texts)
    : m_items(items)
    , m_request(request)
{
    if (items.isEmpty() || request.copies < 1)
        throw LabelError(texts.rsLabelNothing);
    // A code printed for several items is encoded once.
    QHash<QString, std::size_t> byCode;
    std::vector<std::size_t> preparedOf;
    preparedOf.reserve(std::size_t(items.size()));
    for (const LabelItem& item : items) {
        if (const auto it = byCode.constFind(item.code); it != byCode.cend()) {
            preparedOf.push_back(*it);
            continue;
        }
        SymbolGrid grid = SymbolGrid::encode(request.symbol, item.code, texts);
        const auto face = LabelFace::fit(grid, request.layout.label, request.layout.minModule);
        if (!face)
            throw LabelError(texts.rsLabelDoesNotFit.arg(item.code, request.layout.name,
                                                         labelSymbolTitle(request.symbol),
                                                         QString::number(request.layout.minModule)));
        byCode.insert(item.code, m_prepared.size());
        preparedOf.push_back(m_prepared.size());
        m_prepared.push_back({std::move(grid), *face});
    }
    const int perPage = request.layout.perPage();
    int position = request.skip;
    m_placements.reserve(items.size() * request.copies);
    for (int i = 0; i < items.size(); ++i) {
        for (int copy = 0; copy < request.copies; ++copy, ++position) {
            const int slot = position % perPage;
            m_placements.append({i, position / perPage, slot, request.layout.box(slot).translated(request.offset)});
        }
    }
    m_preparedOf = std::move(preparedOf);
}

bool LabelRun::paint(QPagedPaintDevice& device, WorkProgress* progress) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    int page = 0;
    qint64 drawn = 0;
    for (const Placement& p : m_placements) {
        for (; page < p.page; ++page) {
            if (!device.newPage())
                return false;
        }
        const Prepared& prepared = m_prepared[m_preparedOf[std::size_t(p.item)]];
        prepared.face.paint(painter, prepared.grid, m_items.at(p.item), p.box.topLeft(), dotsPerMm);
        if (++drawn % kLabelsPerProgress == 0)
            advanceOrCancel(progress, drawn, m_placements.size());
    }
    return painter.end();
}

void LabelRun::writePdf(const QString& file, WorkProgress* progress) const
{
    WholeFileWriter::write(file, [this, &file, progress](QIODevice& out) {
        // Built in memory and written in one go: the file's device is not
        // buffered and the PDF engine writes in small pieces.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kDotsPerInch);
        pdf.setCreator(QStringLiteral("tooldesk"));
        pdf.setTitle(m_request.layout.name);
        pdf.setPageSize(QPageSize(m_request.layout.page, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        if (!paint(pdf, progress))
            throw FileWriteError(FileWriteError::Cause::Other, file, QStringLiteral("the PDF could not be drawn"));
        buffer.close();
        if (out.write(buffer.data()) != buffer.data().size())
            throw FileWriteError(FileWriteError::Cause::Other, file, out.errorString());
    });
}
