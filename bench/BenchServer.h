#pragma once

#include <QByteArray>
#include <QString>

// The generated database on a PostgreSQL server: copied there as a site is
// moved, and the program folder's settings pointed at it until this ends.
class BenchServer
{
public:
    BenchServer(QString host, QString name, QString user);
    ~BenchServer(); // gives the settings file back its own text

    // Drops and makes the server database again, then copies the file into it.
    bool copyFrom(const QString& dbPath, double& seconds, QString& error);
    bool pointFolderAt(const QString& programFolder, QString& error);

private:
    bool admin(const QString& sql, QString& error) const;

    QString m_host;
    QString m_name;
    QString m_user;
    QString m_iniPath;
    QByteArray m_iniText;
};
