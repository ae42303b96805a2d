#pragma once

#include <QString>

// A tool's code or identity turned into one folder name under Data/Images/.
// Letters (Cyrillic too), digits, '-', '_' and inner blanks stay as they are;
// everything a file system could read as a path, a device or could silently
// drop is written as %XX (the UTF-8 bytes), and '%' itself always is, so two
// different codes never share a folder and no name leaves Data/Images/.
QString safeFolderName(const QString& code);

// programFolder + "Data/Images/" + safeFolderName(identity) + "/".
QString toolImagesFolder(const QString& programFolder, const QString& identity);
// The same under a Data folder of any name: dataFolder + "Images/" + ...
QString toolImagesFolderIn(const QString& dataFolder, const QString& identity);

// Copies file into folder (created with its parents) under the file's own
// name, replacing a file of that name. The old file stays until the new copy
// is complete. On failure returns false with the system's message in *error.
bool copyPictureInto(const QString& file, const QString& folder, QString* error);
