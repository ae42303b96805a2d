#pragma once

#include "data/FileWriteError.h"

#include <QString>

// Why an act document could not be made; the text is chosen per language.
enum class ActDocumentError {
    None,
    TemplateNotFound, // no template for the language, or no such file
    NotDocx,          // not a zip archive, or one that cannot be read
    NoMainText,       // no word/document.xml in the archive
    BadXml,           // a part that must be changed does not parse
    NoTable,          // the document has no table
    ShortRow,         // a row that receives a tool has fewer than five cells
    CannotWrite,      // the WriteOff folder or the document cannot be written
};

struct ActDocumentResult {
    ActDocumentError error = ActDocumentError::None;
    QString file;   // the document written; on failure the file concerned
    QString detail; // the system's or library's own words, may be empty
    int row = 0;    // ShortRow: the table row, counted from 1
    // CannotWrite: why; file is then the file or folder concerned.
    FileWriteError::Cause writeCause = FileWriteError::Cause::Other;

    bool ok() const { return error == ActDocumentError::None; }
    // The full text for a message box: the kind, the file and the detail.
    QString message(bool russian) const;
};

// The sentence for one kind of failure, without file or detail.
QString actDocumentErrorText(ActDocumentError kind, bool russian, int row = 0);
