#pragma once

#include <QList>
#include <QString>

// A column of a register as its grid lists it: the field and the title in
// both interface languages. The grids and the register exports read these
// one table, so a file's headings are the grid's titles.
struct RegisterColumn {
    QString field;
    const char* ru;
    const char* en;

    QString title(bool russian) const { return QString::fromUtf8(russian ? ru : en); }
};

// The tool register's twelve columns in the grid's order; columns 1..11
// follow the settings' tool column view, column 0 always shows.
const QList<RegisterColumn>& toolRegisterColumns();

// The recipient register's seven columns in the grid's order, always shown.
const QList<RegisterColumn>& recipientRegisterColumns();
