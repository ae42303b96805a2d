#pragma once

#include "ActTool.h"

#include <QList>

class Query;

// The tools of an act as the act's table lists them, read from a result set
// of Tools rows (the write-off window's list of the act's tools) in its
// order. Fetches the rest of the rows; the current row does not move.
// A price that is not a number counts as no price.
QList<ActTool> actToolsOf(Query& tools);
