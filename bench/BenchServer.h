#pragma once

#include "data/ConnectionDescription.h"

#include <QByteArray>
#include <QString>

// The generated database on a PostgreSQL server: copied there as a site is
// moved, and the program folder's settings pointed at it until this ends.
class BenchServer
{
public:
    explicit BenchServer(ConnectionDescription server);
    ~BenchServer(); // gives the settings file back its own text

    // Drops and makes the server database again, then copies the file into it.
    bool copyFrom(const QString& dbPath, double& seconds, QString& error);
    bool pointFolderAt(const QString& programFolder, QString& error);

private:
    bool admin(const QString& sql, QString& error) const;

    ConnectionDescription m_server;
    QString m_iniPath;
    QByteArray m_iniText;
};
