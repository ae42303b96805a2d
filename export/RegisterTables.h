#pragma once

#include "ExportTable.h"

class Connection;
class Settings;

// The registers as their lists show them: the columns the grid shows, with
// its titles in the interface language, over the list's statement and
// order (empty: the statement's own, the key last).
ExportTable toolRegisterTable(Connection& db, const Select& select, const QList<OrderTerm>& order,
                              const Settings& settings, bool russian);
ExportTable recipientRegisterTable(Connection& db, const Select& select, const QList<OrderTerm>& order, bool russian);

// The whole register in the list's own order, as a search with empty boxes
// and no work type lists it.
ExportTable wholeToolRegister(Connection& db, const Settings& settings, bool russian);
ExportTable wholeRecipientRegister(Connection& db, bool russian);
