#pragma once

#include <QDate>
#include <QString>

class Connection;

// The issue date a tool gets when nobody's journal shows it issued.
inline const QDate kNoIssueDate(1990, 1, 1);

// Raises result to the latest date on which the journal shows the tool named
// toolId issued to the recipient with code userId, the journal's word of
// either language ("Выдан", "issued") counting. Throws DbError, leaving in
// result what was found so far.
void findLastIssuedDate(Connection& db, const QString& toolId, const QString& userId, QDate& result);
