#pragma once

#include <QHash>
#include <QString>

// A folder of pictures named by code ("T001.jpg"): JPEG and BMP files,
// the name's letter case ignored as codes are compared.
class PhotoFolder
{
public:
    explicit PhotoFolder(const QString& folder);

    bool isEmpty() const { return m_files.isEmpty(); }
    // The picture file for code, or an empty text.
    QString pictureFor(const QString& code) const;

private:
    QHash<QString, QString> m_files; // folded code -> path
};
