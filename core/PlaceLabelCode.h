#pragma once

#include <QString>
#include <QStringList>

class Connection;
struct Messages;

// A place label's code is the places' prefix and the place's key ("PL-12"),
// scanned into the same box as tools' and workers' codes: a tool or worker
// code beginning with the prefix could be taken for a place. Returns the
// message refusing code, or an empty text. The letter case is ignored, as
// the desk ignores it; a code the row had when the editor opened (before)
// is kept.
QString placeLabelCodeRefusal(const QString& code, const QString& before, const QString& prefix, const Messages& texts);

// The tool and worker codes that begin with prefix, letter case ignored:
// how many, and the first few of them (tools first, as they were added).
struct PlaceLabelPrefixUse {
    qint64 count = 0;
    QStringList first;
};
PlaceLabelPrefixUse codesBeginningWith(Connection& db, const QString& prefix, int firstCount = 3);

// The message refusing prefix (trimmed) as the place labels' new prefix, or
// an empty text: it must be there, fit the entry box and the typed code
// lists with a place's key after it, and begin no tool's or worker's code.
// Throws DbError.
QString placeLabelPrefixRefusal(Connection& db, const QString& prefix, const Messages& texts);

// The first codes of use joined for a message, "..." after them when there are more.
QString prefixUseText(const PlaceLabelPrefixUse& use);
