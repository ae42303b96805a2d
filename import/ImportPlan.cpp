#include "ImportPlan.h"

#include "ImportValues.h"
#include "PhotoFolder.h"
#include "core/Dictionary.h"
#include "core/Messages.h"
#include "core/PlaceLabelCode.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/WorkProgress.h"

#include <QHash>
#include <QSet>

namespace {

// Codes, serials and entries compare as the desk and the editors compare them.
QString folded(const QString& text)
{
    return text.trimmed().toCaseFolded();
}

struct ExistingRow {
    qint64 key = 0;
    bool writtenOff = false;
    QString identity;
};

// Every code of a register by its folded text.
QHash<QString, ExistingRow> existingCodes(Connection& db, ImportKind kind)
{
    QHash<QString, ExistingRow> codes;
    const bool tools = kind == ImportKind::Tools;
    Select select(tools ? col::Tools::Table : col::Users::Table);
    if (tools)
        select.columns({col::Key, col::Tools::ID_Tool, col::Tools::WriteOff, col::Tools::ID_Tool_Unique});
    else
        select.columns({col::Key, col::Users::ID_User});
    Statement q = db.run(select);
    while (q->next()) {
        const QString code = folded(q->value(1).toString());
        if (code.isEmpty() || codes.contains(code))
            continue;
        ExistingRow row{q->value(0).toLongLong(), false, {}};
        if (tools) {
            row.writtenOff = q->value(2).toInt() != 0;
            row.identity = q->value(3).toString();
        }
        codes.insert(code, row);
    }
    return codes;
}

QMultiHash<QString, qint64> existingSerials(Connection& db)
{
    QMultiHash<QString, qint64> serials;
    Statement q = db.run(Select(col::Tools::Table).columns({col::Key, col::Tools::SNumber}));
    while (q->next()) {
        const QString serial = folded(q->value(1).toString());
        if (!serial.isEmpty())
            serials.insert(serial, q->value(0).toLongLong());
    }
    return serials;
}

QSet<QString> foldedEntries(Connection& db, DictionaryKind kind)
{
    QSet<QString> entries;
    for (const QString& e : dictionaryEntries(db, kind))
        entries.insert(folded(e));
    return entries;
}

// Entries of one field the rows written bring and the dictionary lacks, in file order.
QStringList newEntries(Connection& db, DictionaryKind kind, const QList<PlannedRow>& rows, int field)
{
    QSet<QString> known = foldedEntries(db, kind);
    QStringList added;
    for (const PlannedRow& row : rows) {
        if (row.verdict != RowVerdict::New && row.verdict != RowVerdict::Update)
            continue;
        const QString text = row.values.value(field).toString().trimmed();
        if (text.isEmpty() || known.contains(folded(text)))
            continue;
        known.insert(folded(text));
        added << text;
    }
    return added;
}

QString linesText(const QList<int>& lines, int except)
{
    QStringList others;
    for (int l : lines) {
        if (l != except)
            others << QString::number(l);
    }
    return others.join(QStringLiteral(", "));
}

int fieldIndex(ImportKind kind, const QString& column)
{
    const QList<ImportField>& fields = importFields(kind);
    for (int f = 0; f < fields.size(); ++f) {
        if (fields.at(f).column == column)
            return f;
    }
    return -1;
}

} // namespace

ImportPlan ImportPlan::make(Connection& db, const ImportRequest& request, const Messages& texts, WorkProgress& progress)
{
    ImportPlan plan;
    const bool tools = request.kind == ImportKind::Tools;
    const bool russian = request.russian;
    const QList<ImportField>& fields = importFields(request.kind);
    const QHash<QString, ExistingRow> own = existingCodes(db, request.kind);
    const QHash<QString, ExistingRow> other = existingCodes(db, tools ? ImportKind::Recipients : ImportKind::Tools);
    const QMultiHash<QString, qint64> serials = tools ? existingSerials(db) : QMultiHash<QString, qint64>();
    const PhotoFolder photos(request.photoFolder);
    const Select keys(tools ? col::Tools::Table : col::Users::Table);
    const qint64 largestKey = db.largest(keys, col::Key).toLongLong();
    const QString suffix = tools ? QStringLiteral("001") : QStringLiteral("002");

    progress.setStage(texts.rsImportStagePreview);
    const int total = int(request.table.rows.size());
    const int headings = int(request.table.headings.size());
    QHash<QString, QList<int>> codeLines;   // folded code -> lines
    QHash<QString, QList<int>> serialLines; // folded serial -> lines
    const int serialField = tools ? fieldIndex(request.kind, col::Tools::SNumber) : -1;
    int newRows = 0;
    for (int r = 0; r < total; ++r) {
        if (r % 512 == 0 && !progress.advance(r, total)) {
            plan.m_cancelled = true;
            return plan;
        }
        const QStringList& cells = request.table.rows.at(r);
        PlannedRow row;
        row.line = request.table.lines.value(r);
        row.values.resize(fields.size());
        qsizetype used = cells.size();
        while (used > 0 && cells.at(used - 1).trimmed().isEmpty())
            --used;
        if (used > headings)
            row.reasons << texts.rsImportRowTooLong.arg(used).arg(headings);
        for (int c = 0; c < cells.size() && c < request.match.size(); ++c) {
            const int f = request.match.at(c);
            if (f < 0 || f >= fields.size())
                continue;
            const ImportField& field = fields.at(f);
            const QString cell = cells.at(c).trimmed();
            if (cell.isEmpty())
                continue;
            if (field.maxLength > 0 && cell.size() > field.maxLength) {
                // Kept to be shown; the row is refused.
                row.reasons << texts.rsImportValueTooLong.arg(field.caption(russian)).arg(field.maxLength);
                row.values[f] = cell;
                continue;
            }
            switch (field.value) {
            case ImportValue::Code:
            case ImportValue::Text:
                row.values[f] = cell;
                break;
            case ImportValue::Date:
                if (const auto date = importDate(cell))
                    row.values[f] = *date;
                else
                    row.reasons << texts.rsImportBadDate.arg(field.caption(russian), cell);
                break;
            case ImportValue::Money:
                if (const auto amount = importMoney(cell))
                    row.values[f] = *amount;
                else
                    row.reasons << texts.rsImportBadPrice.arg(field.caption(russian), cell);
                break;
            }
        }
        row.code = row.values.value(0).toString();
        const QString code = folded(row.code);
        if (!code.isEmpty() && own.contains(code)) {
            const ExistingRow& existing = own.value(code);
            row.key = existing.key;
            row.identity = existing.identity;
            row.verdict = request.update ? RowVerdict::Update : RowVerdict::Skip;
            if (existing.writtenOff && request.update)
                row.reasons << texts.rsImportWrittenOff.arg(row.code);
        } else {
            row.verdict = RowVerdict::New;
            ++newRows;
            if (code.isEmpty()) {
                // As the editor makes one: the highest key then, and the register's suffix.
                // An empty table has no highest key: the code is the suffix alone.
                const qint64 highest = largestKey + newRows - 1;
                row.code = (highest > 0 ? QString::number(highest) : QString()) + suffix;
                row.generated = true;
            }
            row.identity = row.code;
            if (other.contains(folded(row.code)))
                row.reasons << (tools ? texts.rsImportCodeIsRecipient : texts.rsImportCodeIsTool).arg(row.code);
            else if (row.generated && own.contains(folded(row.code)))
                row.reasons << texts.rsImportGeneratedTaken.arg(row.code);
            const QString placeRefusal = placeLabelCodeRefusal(row.code, {}, request.placePrefix, texts);
            if (!placeRefusal.isEmpty())
                row.reasons << placeRefusal;
            for (int f = 0; f < fields.size(); ++f) {
                if (fields.at(f).required && row.values.at(f).isNull())
                    row.reasons << texts.rsImportRequired.arg(fields.at(f).caption(russian));
            }
        }
        if (row.verdict != RowVerdict::Skip) {
            codeLines[folded(row.code)] << row.line;
            const QString serial = serialField >= 0 ? folded(row.values.at(serialField).toString()) : QString();
            if (!serial.isEmpty()) {
                serialLines[serial] << row.line;
                for (auto it = serials.constFind(serial); it != serials.cend() && it.key() == serial; ++it) {
                    if (it.value() != row.key) {
                        row.reasons << texts.rsImportSerialTaken.arg(row.values.at(serialField).toString().trimmed());
                        break;
                    }
                }
            }
        }
        if (!photos.isEmpty())
            row.photo = photos.pictureFor(row.code);
        plan.rows << row;
    }
    // Twice in the file: every such row is refused, naming the others.
    for (PlannedRow& row : plan.rows) {
        if (row.verdict == RowVerdict::Skip)
            continue;
        const QList<int>& same = codeLines.value(folded(row.code));
        if (same.size() > 1)
            row.reasons << texts.rsImportCodeTwice.arg(row.code, linesText(same, row.line));
        if (serialField >= 0) {
            const QString serial = row.values.at(serialField).toString().trimmed();
            const QList<int>& sameSerial = serialLines.value(folded(serial));
            if (!serial.isEmpty() && sameSerial.size() > 1)
                row.reasons << texts.rsImportSerialTwice.arg(serial, linesText(sameSerial, row.line));
        }
    }
    for (PlannedRow& row : plan.rows) {
        if (!row.reasons.isEmpty())
            row.verdict = RowVerdict::Refused;
    }
    if (tools) {
        plan.newPlaces = newEntries(db, DictionaryKind::Mesto, plan.rows, fieldIndex(request.kind, col::Tools::Mesto));
        plan.newTypes = newEntries(db, DictionaryKind::Types, plan.rows,
                                   fieldIndex(request.kind, col::Tools::Tool_Type));
        plan.newNames = newEntries(db, DictionaryKind::Naim, plan.rows, fieldIndex(request.kind, col::Tools::Naim));
    }
    progress.advance(total, total);
    return plan;
}

int ImportPlan::count(RowVerdict verdict) const
{
    int n = 0;
    for (const PlannedRow& row : rows)
        n += row.verdict == verdict ? 1 : 0;
    return n;
}

bool ImportPlan::sameAs(const ImportPlan& other) const
{
    if (rows.size() != other.rows.size() || newPlaces != other.newPlaces || newTypes != other.newTypes
        || newNames != other.newNames)
        return false;
    for (int i = 0; i < rows.size(); ++i) {
        const PlannedRow& a = rows.at(i);
        const PlannedRow& b = other.rows.at(i);
        if (a.verdict != b.verdict || a.code != b.code || a.key != b.key)
            return false;
    }
    return true;
}

QString ImportPlan::verdictText(const PlannedRow& row, const Messages& texts)
{
    switch (row.verdict) {
    case RowVerdict::New:
        return row.generated ? texts.rsImportNewGenerated : texts.rsImportNew;
    case RowVerdict::Update:
        return texts.rsImportUpdate;
    case RowVerdict::Skip:
        return texts.rsImportSkip;
    case RowVerdict::Refused:
        break;
    }
    return texts.rsImportRefused + QStringLiteral(": ") + row.reasons.join(QStringLiteral("; "));
}
