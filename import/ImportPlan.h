#pragma once

#include "ImportFields.h"
#include "ImportTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Connection;
class WorkProgress;
struct Messages;

// What the import does with a row of the file.
enum class RowVerdict { New, Update, Skip, Refused };

// Everything an import is asked to do: the file's table, which of its
// columns fill which field, whether existing codes are updated, where the
// photos are, and the places' label prefix no code may begin with.
struct ImportRequest {
    ImportKind kind = ImportKind::Tools;
    ImportTable table;
    QList<int> match; // per file column: index into importFields(kind), or -1
    bool update = false;
    QString photoFolder;
    QString placePrefix;
    bool russian = false; // the language of the fields' names in the reasons
};

struct PlannedRow {
    int line = 0;
    RowVerdict verdict = RowVerdict::New;
    QStringList reasons; // why refused
    QString code;        // trimmed as written, or the one generated
    bool generated = false;
    qint64 key = 0;         // the existing row updated or skipped
    QString identity;       // a tool's lasting identity (new: its code)
    QList<QVariant> values; // per field: the value read, or null when the file gives none
    QString photo;          // the picture file for the code, or empty
};

// Each row's verdict before anything is written, and the dictionary entries
// the import adds. Made from the database as it is now; the writer makes it
// again inside its transaction and writes only when nothing changed.
class ImportPlan
{
public:
    // Throws DbError. Cancelled (progress said stop): cancelled() is true.
    static ImportPlan make(Connection& db, const ImportRequest& request, const Messages& texts, WorkProgress& progress);

    QList<PlannedRow> rows;
    QStringList newPlaces;
    QStringList newTypes;
    QStringList newNames;

    int count(RowVerdict verdict) const;
    bool refused() const { return count(RowVerdict::Refused) > 0; }
    bool cancelled() const { return m_cancelled; }
    // Same verdicts, codes and dictionary entries.
    bool sameAs(const ImportPlan& other) const;

    // The verdict's word and, when refused, its reasons: "отказ: ...".
    static QString verdictText(const PlannedRow& row, const Messages& texts);

private:
    bool m_cancelled = false;
};
