#pragma once

#include "ActDocumentResult.h"
#include "ActTool.h"

#include <QDate>
#include <QList>
#include <QString>

// The Word document of a write-off act: a copy of the act template of the
// interface language with the act's tools in its first table, the total in
// place of "#SUMM#", the act's number in place of "#NUMBER#" and its
// write-off date in place of "#DATE#", written as WriteOff/№_<act>_.docx beside the program.
// The document appears whole or not at all: it is built in memory and
// replaces an earlier one of that act only once completely written.
class ActDocument
{
public:
    // languageIndex: 0 Russian, 1 English, as the sign-in window's language box.
    // programFolder holds WriteOff/; the templates are in dataFolder's
    // Templates/ (programFolder's Data/ when none is named).
    ActDocument(QString programFolder, int languageIndex, QString dataFolder = {});

    // Data/Templates/AKT_RU.docx or AKT_EN.docx; empty for any other language.
    QString templatePath() const;
    // WriteOff/№_<act>_.docx ("№" is U+2116); the write-off window opens it.
    QString documentPath(int actNumber) const;

    // Writes the document of act actNumber with its tools in the given order;
    // "#DATE#" becomes writeOffDate in the interface language's format (an
    // empty text when it is not valid).
    ActDocumentResult create(int actNumber, const QList<ActTool>& tools, const QDate& writeOffDate = {}) const;

    // The act's own texts put in place of the template's placeholders.
    struct Heading {
        QString number;
        QString date;
    };
    // The same from any template to any path; russian picks the price format.
    // The target's folder is created when missing.
    static ActDocumentResult write(const QString& templatePath, const QString& documentPath,
                                   const QList<ActTool>& tools, bool russian, const Heading& heading = {});

private:
    QString m_programFolder;
    QString m_dataFolder;
    int m_languageIndex;
};
