#pragma once

#include "data/Select.h"

#include <QList>
#include <QString>

// How an exported column's values go into a spreadsheet.
enum class ExportKind {
    Text,
    Number,
    Money, // a number shown with two decimals
    Date,  // a date cell, dd.mm.yyyy
    Bool,  // yes or no in the headings' language
};

struct ExportColumn {
    QString field; // as stored
    QString heading;
    ExportKind kind = ExportKind::Text;
};

// A register as a file gets it: the columns in their order with their
// headings, and the rows of a statement in an order that ends with the key.
struct ExportTable {
    QString title; // the sheet's name
    QList<ExportColumn> columns;
    Select select;
    QList<OrderTerm> order;
    bool russian = true; // the headings' language, also of yes and no
};
