#pragma once

#include "Localization.h"
#include "data/QueryModel.h"

// The tool grid's twelve columns, shown by the tool list and the write-off
// page alike; columns 1..11 follow the settings' tool column view.
QList<GridColumn> toolGridColumns();

// The text-set rows of those columns' titles for one window's grid.
QList<Localization::Text> toolGridTitles(const char* window, const char* grid);
