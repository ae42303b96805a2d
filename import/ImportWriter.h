#pragma once

#include "ImportPlan.h"

#include <QByteArray>
#include <QString>
#include <functional>

// How photos are taken in: load turns a picture file into the bytes the
// Photo column keeps (scaled as the editors scale it), or gives empty bytes
// and the reason; keep files a tool's picture in its folder as the tool
// editor does. Either may be unset: then photos are not taken.
struct ImportPhotos {
    std::function<QByteArray(const QString& file, QString* error)> load;
    std::function<bool(const QString& file, const QString& identity, QString* error)> keep;
};

struct ImportCounts {
    int added = 0;
    int updated = 0;
    int skipped = 0;
};

// Writes an import in one transaction: every row or none. The plan is made
// again inside it; when it differs from the one shown (another desk changed
// the register meanwhile) or refuses a row, nothing is written. The journal
// is not touched. Throws ImportError (refused, changed, a photo unreadable,
// cancelled) or DbError; after either the database is as it was.
class ImportWriter
{
public:
    ImportWriter(Connection& db, const Messages& texts, const ImportPhotos& photos = {});

    ImportCounts write(const ImportRequest& request, const ImportPlan& shown, WorkProgress& progress);

    // Pictures that could not be put in their tools' folders after the
    // rows were written (the rows stay written): one message each.
    const QStringList& pictureFailures() const { return m_pictureFailures; }

private:
    void addEntries(const QString& table, const QStringList& entries);
    void writeRow(const ImportRequest& request, const PlannedRow& row);

    Connection& m_db;
    const Messages& m_texts;
    ImportPhotos m_photos;
    QStringList m_pictureFailures;
};
