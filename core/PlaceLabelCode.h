#pragma once

#include <QString>

struct Messages;

// A place label's code is the places' prefix and the place's key ("PL-12"),
// scanned into the same box as tools' and workers' codes: a tool or worker
// code beginning with the prefix could be taken for a place. Returns the
// message refusing code, or an empty text. The letter case is ignored, as
// the desk ignores it; a code the row had when the editor opened (before)
// is kept.
QString placeLabelCodeRefusal(const QString& code, const QString& before, const QString& prefix, const Messages& texts);
