#pragma once

#include "core/ImportKind.h"

#include <QList>
#include <QString>
#include <QStringList>

// What a column of the register holds, as the import reads it.
enum class ImportValue { Code, Text, Date, Money };

// A column of Tools or Users that an import may fill, and the headings a
// file's column may carry for it: the register grid's and the editor's
// captions in both languages and the stored column name.
struct ImportField {
    QString column;
    ImportValue value;
    bool required;
    int maxLength; // 0: no limit of its own
    QStringList headings;
    QString caption(bool russian) const { return headings.value(russian ? 0 : 1); }
};

// The register's fields, in the grid's order; the first is the code.
const QList<ImportField>& importFields(ImportKind kind);

// For each heading, the index of its field, or -1 when none matches. A
// heading matches ignoring letter case, blanks and a trailing '.' or ':';
// a field already taken by an earlier column is not matched again.
QList<int> matchColumns(ImportKind kind, const QStringList& headings);
