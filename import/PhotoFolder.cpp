#include "PhotoFolder.h"

#include <QDir>
#include <QFileInfo>

PhotoFolder::PhotoFolder(const QString& folder)
{
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(
        {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.bmp")}, QDir::Files | QDir::Readable,
        QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : files) {
        // "T001.jpg": the name before the last dot is the code; the first file wins.
        const QString code = f.completeBaseName().trimmed().toCaseFolded();
        if (!code.isEmpty() && !m_files.contains(code))
            m_files.insert(code, f.absoluteFilePath());
    }
}

QString PhotoFolder::pictureFor(const QString& code) const
{
    return m_files.value(code.trimmed().toCaseFolded());
}
