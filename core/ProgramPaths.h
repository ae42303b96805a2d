#pragma once

#include <QDir>
#include <QString>

// Where the program keeps its files: the Data folder, and beside it the
// folders Reports/ and WriteOff/. Portable, the Data folder lies beside the
// program; DataFolder chooses another one (installed, --data, TOOLDESK_DATA).
struct ProgramPaths {
    // The Data folder beside programFolder.
    explicit ProgramPaths(const QString& programFolder)
        : ProgramPaths(withSlash(programFolder), withSlash(programFolder) + QStringLiteral("Data/"))
    {
    }

    // A Data folder of any name; Reports/ and WriteOff/ go into its parent.
    static ProgramPaths ofDataFolder(const QString& dataFolder)
    {
        const QString data = withSlash(QDir::cleanPath(dataFolder));
        return ProgramPaths(withSlash(QDir::cleanPath(data + QStringLiteral(".."))), data);
    }

    QString folder; // holds Data, Reports/ and WriteOff/; with a trailing separator
    QString data;   // with a trailing separator
    QString database;
    QString ini;
    QString sound;
    QString toolPicture;
    QString recipientPicture;

private:
    ProgramPaths(const QString& parent, const QString& dataFolder)
        : folder(parent)
        , data(dataFolder)
        , database(data + QStringLiteral("DB.mdb"))
        , ini(data + QStringLiteral("Config.ini"))
        , sound(data + QStringLiteral("sound.mp3"))
        , toolPicture(data + QStringLiteral("T.bmp"))
        , recipientPicture(data + QStringLiteral("U.bmp"))
    {
    }

    static QString withSlash(const QString& path) { return path.endsWith(u'/') ? path : path + u'/'; }
};
