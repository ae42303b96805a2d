#pragma once

#include "ToolsOut.h"

#include <QString>

struct Messages;

// The desk's line about a scanned worker's overdue tools: how many, then
// the first few codes with their due dates. Empty when none is overdue.
QString overdueNote(const QList<OutTool>& overdue, const Messages& texts);

// How many tools the line names before it ends with "…".
inline constexpr int kOverdueNamed = 3;
