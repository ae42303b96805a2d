#pragma once

#include <QString>

// The store's table and column names, each written once. Statement
// descriptions name their tables and columns through these.
namespace col {

inline const QString Key = QStringLiteral("ID");      // every table's auto-number key
inline const QString Photo = QStringLiteral("Photo"); // the picture of a tool or of a recipient

namespace Tools {
inline const QString Table = QStringLiteral("Tools");
inline const QString ID_Tool = QStringLiteral("ID_Tool");
inline const QString Tool_Type = QStringLiteral("Tool_Type");
inline const QString Proizvoditel = QStringLiteral("Proizvoditel");
inline const QString SNumber = QStringLiteral("SNumber");
inline const QString Guarantee = QStringLiteral("Guarantee");
inline const QString Tool_State = QStringLiteral("Tool_State");
inline const QString& Photo = col::Photo;
inline const QString Model = QStringLiteral("Model");
inline const QString Date_Purchase = QStringLiteral("Date_Purchase");
inline const QString Passed = QStringLiteral("Passed");
inline const QString OwnerID = QStringLiteral("OwnerID");
inline const QString Price = QStringLiteral("Price");
inline const QString Naim = QStringLiteral("Naim");
inline const QString Inv = QStringLiteral("Inv");
inline const QString Mesto = QStringLiteral("Mesto");
inline const QString ID_Tool_Unique = QStringLiteral("ID_Tool_Unique");
inline const QString Issued_date = QStringLiteral("Issued_date");
inline const QString WriteOff = QStringLiteral("WriteOff");
inline const QString WriteOff_AKT_ID = QStringLiteral("WriteOff_AKT_ID");
inline const QString WriteOffNote = QStringLiteral("WriteOffNote");
// Days a tool may stay out; empty: its type's period.
inline const QString LoanDays = QStringLiteral("LoanDays");
} // namespace Tools

namespace Users {
inline const QString Table = QStringLiteral("Users");
inline const QString ID_User = QStringLiteral("ID_User");
inline const QString FIO = QStringLiteral("FIO");
inline const QString Phone = QStringLiteral("Phone");
inline const QString Organization = QStringLiteral("Organization");
inline const QString Otdel = QStringLiteral("Otdel");
inline const QString Shef_FIO = QStringLiteral("Shef_FIO");
inline const QString Shef_Phone = QStringLiteral("Shef_Phone");
inline const QString& Photo = col::Photo;
} // namespace Users

namespace History {
inline const QString Table = QStringLiteral("History");
inline const QString ID_U = QStringLiteral("ID_U");
inline const QString ID_T = QStringLiteral("ID_T");
inline const QString ADate = QStringLiteral("ADate");
inline const QString ATime = QStringLiteral("ATime");
inline const QString Operation = QStringLiteral("Operation");
inline const QString Note = QStringLiteral("Note");
inline const QString FIO = QStringLiteral("FIO");
inline const QString IType = QStringLiteral("IType");
inline const QString Model = QStringLiteral("Model");
inline const QString Organization = QStringLiteral("Organization");
inline const QString State = QStringLiteral("State");
// When an issued tool is due back; empty without a loan period.
inline const QString Due_date = QStringLiteral("Due_date");
} // namespace History

namespace AKTSpisaniya {
inline const QString Table = QStringLiteral("AKTSpisaniya");
inline const QString AName = QStringLiteral("AName");
inline const QString ADate = QStringLiteral("ADate");
inline const QString ANote = QStringLiteral("ANote");
} // namespace AKTSpisaniya

// The dictionaries (NAIMENOVANIYA, MESTO, TOOLTYPES, WORKTYPES) share one layout.
namespace Dictionary {
inline const QString AField = QStringLiteral("AField");
inline const QString AField_2 = QStringLiteral("AField_2");
} // namespace Dictionary

namespace NAIMENOVANIYA {
inline const QString Table = QStringLiteral("NAIMENOVANIYA");
} // namespace NAIMENOVANIYA

namespace MESTO {
inline const QString Table = QStringLiteral("MESTO");
} // namespace MESTO

namespace TOOLTYPES {
inline const QString Table = QStringLiteral("TOOLTYPES");
// Days a tool of the type may stay out; empty: no due date.
inline const QString LoanDays = QStringLiteral("LoanDays");
} // namespace TOOLTYPES

namespace WORKTYPES {
inline const QString Table = QStringLiteral("WORKTYPES");
} // namespace WORKTYPES

// The original store's lists of operations and tool states: one name a row.
namespace Operations {
inline const QString Table = QStringLiteral("Operations");
} // namespace Operations
namespace State {
inline const QString Table = QStringLiteral("State");
} // namespace State
inline const QString AName = QStringLiteral("AName");

} // namespace col
