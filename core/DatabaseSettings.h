#pragma once

#include "data/ConnectionDescription.h"

#include <QString>

// Which database the settings file names. Without a [DATABASE] section the
// program works on the embedded file, as a single-desk store always did;
// "Engine=PostgreSQL" names a database on a server by Host, Port, Name,
// User and SSLMode. A password is never read from the settings file.
class DatabaseSettings
{
public:
    static constexpr const char* kSection = "DATABASE";

    // Throws DbError naming the settings file when the section is unusable.
    static ConnectionDescription read(const QString& iniPath, const QString& databaseFile);
};
