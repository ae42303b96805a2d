#pragma once

#include <QString>
#include <vector>

struct ToolPageRun {
    std::vector<double> openMs;   // the tools entry pressed until the first rows are painted
    std::vector<double> narrowMs; // a search narrowed to one tool type, until painted
    QString typeText;
    int rowsShown = 0;
};

// Brings the tool page up, then narrows it to a type, `runs` times each.
bool measureToolPage(const QString& folder, int runs, ToolPageRun& run, QString& error);
