#include "FileChoices.h"

#include "Session.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>

namespace {

Settings::ChooserFolder folderOf(FileChoices::Kind kind)
{
    return kind == FileChoices::Kind::Picture ? Settings::ChooserFolder::Pictures : Settings::ChooserFolder::SavedFiles;
}

} // namespace

FileChoices::FileChoices(Session& session)
    : m_session(session)
{
}

QString FileChoices::pictureFilter() const
{
    const Messages& t = m_session.texts();
    return t.rsPictureFiles + QStringLiteral(" (*.jpg *.jpeg *.bmp);;") + t.rsAllFiles + QStringLiteral(" (*)");
}

QString FileChoices::folder(Kind kind) const
{
    const QString folder = m_session.settings().chooserFolder(folderOf(kind));
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void FileChoices::remember(Kind kind, const QString& chosenFile)
{
    if (!chosenFile.isEmpty())
        rememberFolder(kind, QFileInfo(chosenFile).absolutePath());
}

void FileChoices::rememberFolder(Kind kind, const QString& folder)
{
    if (!folder.isEmpty() && folder != this->folder(kind))
        m_session.settings().setChooserFolder(folderOf(kind), folder);
}

QString FileChoices::savePath(const QString& suggested) const
{
    const QString last = folder(Kind::Saved);
    if (last.isEmpty())
        return suggested;
    return QDir(last).filePath(QFileInfo(suggested).fileName());
}
