#include "XlsxTableWriter.h"

#include "CellValue.h"
#include "CsvTableWriter.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Excel's limit of one cell's text.
constexpr qsizetype kMostCellText = 32767;
constexpr qsizetype kNarrowest = 8;
constexpr qsizetype kWidest = 60;

} // namespace

XlsxTableWriter::XlsxTableWriter(const QString& path, const QString& temporaryFolder, const ExportTable& table)
    : m_table(table)
    , m_path(path.toUtf8())
    , m_temporaryFolder(temporaryFolder.toUtf8())
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    // The rows wait on the disk the file goes to, not in /tmp.
    options.tmpdir = m_temporaryFolder.data();
    m_book = workbook_new_opt(m_path.constData(), &options);
    if (!m_book)
        return;
    // A sheet name holds at most 31 characters and none of []:*?/\.
    QString name = table.title.left(31);
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.replace(c, u'_');
    m_sheet = workbook_add_worksheet(m_book, name.isEmpty() ? nullptr : name.toUtf8().constData());
    m_heading = workbook_add_format(m_book);
    format_set_bold(m_heading);
    m_money = workbook_add_format(m_book);
    format_set_num_format(m_money, "#,##0.00");
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "dd.mm.yyyy");
    m_widths.fill(kNarrowest, table.columns.size());
}

XlsxTableWriter::~XlsxTableWriter()
{
    if (!m_closed)
        (void)close(); // into the file that is being given up
}

void XlsxTableWriter::widen(int column, qsizetype characters)
{
    if (characters > m_widths.at(column))
        m_widths[column] = std::min(characters, kWidest);
}

bool XlsxTableWriter::writeText(int column, const QString& text)
{
    if (text.isEmpty())
        return false;
    const QString cell = text.left(kMostCellText);
    worksheet_write_string(m_sheet, m_row, lxw_col_t(column), cell.toUtf8().constData(), nullptr);
    qsizetype longestLine = 0;
    for (const QStringView line : QStringView(cell).split(u'\n'))
        longestLine = std::max(longestLine, line.size());
    widen(column, longestLine + 1);
    return true;
}

void XlsxTableWriter::writeHeadings()
{
    if (!m_sheet)
        return;
    for (int c = 0; c < m_table.columns.size(); ++c) {
        const QString& heading = m_table.columns.at(c).heading;
        worksheet_write_string(m_sheet, 0, lxw_col_t(c), heading.toUtf8().constData(), m_heading);
        widen(c, heading.size() + 2);
    }
    worksheet_freeze_panes(m_sheet, 1, 0);
    m_row = 1;
    m_rowsWithCells = m_table.columns.isEmpty() ? 0 : 1;
}

bool XlsxTableWriter::writeRow(const QVariantList& values)
{
    if (!m_sheet)
        return true; // close() says why
    if (m_row >= kMostRows)
        return false;
    bool cells = false;
    for (int c = 0; c < m_table.columns.size(); ++c) {
        const QVariant value = values.value(c);
        const ExportKind kind = m_table.columns.at(c).kind;
        if (kind == ExportKind::Number || kind == ExportKind::Money) {
            if (const std::optional<double> number = cellNumber(value)) {
                worksheet_write_number(m_sheet, m_row, lxw_col_t(c), *number,
                                       kind == ExportKind::Money ? m_money : nullptr);
                widen(c, kind == ExportKind::Money ? 14 : 10);
                cells = true;
                continue;
            }
        } else if (kind == ExportKind::Date) {
            if (const QDate day = cellDate(value); day.isValid() && day.year() >= 1900) {
                lxw_datetime when{day.year(), day.month(), day.day(), 0, 0, 0.0};
                worksheet_write_datetime(m_sheet, m_row, lxw_col_t(c), &when, m_date);
                widen(c, 11);
                cells = true;
                continue;
            }
        }
        cells = writeText(c, CsvTableWriter::fieldText(value, kind, m_table.russian)) || cells;
    }
    if (cells)
        ++m_rowsWithCells;
    ++m_row;
    return true;
}

QString XlsxTableWriter::close()
{
    if (m_closed)
        return {};
    m_closed = true;
    if (!m_book)
        return QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
    for (int c = 0; c < m_widths.size(); ++c)
        worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c), double(m_widths.at(c)), nullptr);
    // The library does not check its writes of the rows: a failed one shows here.
    if (m_sheet && m_sheet->optimize_tmpfile
        && (std::fflush(m_sheet->optimize_tmpfile) != 0 || std::ferror(m_sheet->optimize_tmpfile)))
        m_closeErrno = errno != 0 ? errno : EIO;
    errno = 0;
    const lxw_error error = workbook_close(m_book);
    m_book = nullptr;
    if (m_closeErrno != 0)
        return QString::fromLocal8Bit(std::strerror(m_closeErrno));
    if (error == LXW_NO_ERROR)
        return {};
    m_closeErrno = errno;
    return QString::fromUtf8(lxw_strerror(error));
}
