#pragma once

#include <QString>
#include <QVariant>

class Connection;

// Whether a code or serial number is in use already, compared as the desk
// looks codes up: blanks at both ends ignored, letter case ignored (Cyrillic
// too). A tool's code must be neither another tool's nor a recipient's, since
// both are scanned into the same box. exceptKey is the key (ID) of the row
// being edited in the table checked, which never collides with itself; a null
// key excepts nothing. Written-off tools count. Throws DbError.
class CodeRegistry
{
public:
    explicit CodeRegistry(Connection& connection);

    bool toolCodeTaken(const QString& code, const QVariant& exceptKey = {}) const;
    bool recipientCodeTaken(const QString& code, const QVariant& exceptKey = {}) const;
    bool serialTaken(const QString& serial, const QVariant& exceptKey = {}) const;

private:
    bool taken(const QString& table, const QString& column, const QString& value, const QVariant& exceptKey) const;

    Connection& m_db;
};
