#pragma once

#include <QString>

// Where the program keeps its files: everything lives in the Data folder
// beside the program.
struct ProgramPaths {
    explicit ProgramPaths(const QString& programFolder)
        : folder(programFolder.endsWith(u'/') ? programFolder : programFolder + u'/')
        , data(folder + QStringLiteral("Data/"))
        , database(data + QStringLiteral("DB.mdb"))
        , ini(data + QStringLiteral("Config.ini"))
        , sound(data + QStringLiteral("sound.mp3"))
        , toolPicture(data + QStringLiteral("T.bmp"))
        , recipientPicture(data + QStringLiteral("U.bmp"))
    {
    }

    QString folder; // with a trailing separator
    QString data;
    QString database;
    QString ini;
    QString sound;
    QString toolPicture;
    QString recipientPicture;
};
