#include "ImportWriter.h"

#include "ImportError.h"
#include "core/Dictionary.h"
#include "core/Messages.h"
#include "data/Columns.h"
#include "data/Connection.h"
#include "data/WorkProgress.h"

#include <QDate>
#include <QFileInfo>

namespace {

FieldKind kindOf(ImportValue value)
{
    switch (value) {
    case ImportValue::Date:
        return FieldKind::Date;
    case ImportValue::Money:
        return FieldKind::Real;
    case ImportValue::Code:
    case ImportValue::Text:
        break;
    }
    return FieldKind::Text;
}

} // namespace

ImportWriter::ImportWriter(Connection& db, const Messages& texts, const ImportPhotos& photos)
    : m_db(db)
    , m_texts(texts)
    , m_photos(photos)
{
}

ImportCounts ImportWriter::write(const ImportRequest& request, const ImportPlan& shown, WorkProgress& progress)
{
    m_pictureFailures.clear();
    ImportCounts counts;
    QList<QPair<QString, QString>> pictures; // file, identity: kept once the rows are written
    {
        Connection::Transaction transaction(m_db);
        const ImportPlan plan = ImportPlan::make(m_db, request, m_texts, progress);
        if (plan.cancelled())
            throw ImportError(m_texts.rsImportCancelled);
        if (plan.refused())
            throw ImportError(m_texts.rsImportRefusedRows.arg(plan.count(RowVerdict::Refused)));
        if (!plan.sameAs(shown))
            throw ImportError(m_texts.rsImportChangedMeanwhile);
        addEntries(dictionaryTable(DictionaryKind::Mesto), plan.newPlaces);
        addEntries(dictionaryTable(DictionaryKind::Types), plan.newTypes);
        addEntries(dictionaryTable(DictionaryKind::Naim), plan.newNames);
        progress.setStage(m_texts.rsImportStageWrite);
        const int total = int(plan.rows.size());
        for (int r = 0; r < total; ++r) {
            if (r % 256 == 0 && !progress.advance(r, total))
                throw ImportError(m_texts.rsImportCancelled);
            const PlannedRow& row = plan.rows.at(r);
            if (row.verdict == RowVerdict::Skip) {
                ++counts.skipped;
                continue;
            }
            writeRow(request, row);
            ++(row.verdict == RowVerdict::New ? counts.added : counts.updated);
            if (request.kind == ImportKind::Tools && !row.photo.isEmpty() && m_photos.keep)
                pictures.append({row.photo, row.identity});
        }
        progress.advance(total, total);
        transaction.commit();
    }
    // As the tool editor does after saving: the picture beside the tool's others.
    for (const auto& [file, identity] : std::as_const(pictures)) {
        QString error;
        if (!m_photos.keep(file, identity, &error))
            m_pictureFailures << QFileInfo(file).fileName() + QStringLiteral(": ") + error;
    }
    return counts;
}

void ImportWriter::addEntries(const QString& table, const QStringList& entries)
{
    const SqlDialect& d = m_db.dialect();
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                            .arg(d.quoteIdentifier(table), d.quoteIdentifier(col::Dictionary::AField));
    for (const QString& entry : entries)
        m_db.exec(sql, {entry});
}

void ImportWriter::writeRow(const ImportRequest& request, const PlannedRow& row)
{
    const SqlDialect& d = m_db.dialect();
    const bool tools = request.kind == ImportKind::Tools;
    const QList<ImportField>& fields = importFields(request.kind);
    QStringList columns;
    QVariantList values;
    for (int f = 0; f < fields.size(); ++f) {
        // The code as checked; an empty cell keeps what an updated row has.
        const QVariant value = f == 0 ? QVariant(row.code) : row.values.value(f);
        if (value.isNull())
            continue;
        columns << fields.at(f).column;
        values << d.toStorage(kindOf(fields.at(f).value), value);
    }
    if (!row.photo.isEmpty() && m_photos.load) {
        QString error;
        const QByteArray photo = m_photos.load(row.photo, &error);
        if (photo.isEmpty())
            throw ImportError(m_texts.rsImportPhotoFailed.arg(QFileInfo(row.photo).fileName(), error));
        columns << col::Photo;
        values << photo;
    }
    const QString table = tools ? col::Tools::Table : col::Users::Table;
    if (row.verdict == RowVerdict::Update) {
        Update update(table);
        for (int i = 0; i < columns.size(); ++i)
            update.set(columns.at(i), values.at(i));
        update.whereEquals(col::Key, row.key);
        m_db.exec(update);
        return;
    }
    if (tools) {
        // A new tool stands in the store under its lasting identity.
        columns << col::Tools::ID_Tool_Unique << col::Tools::Passed;
        values << row.code << d.toStorage(FieldKind::Bool, true);
    }
    QStringList names, marks;
    for (const QString& c : std::as_const(columns)) {
        names << d.quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(d.quoteIdentifier(table), names.join(u','), marks.join(u',')),
              values);
}
