#include "DataFolder.h"

#include "Messages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcessEnvironment>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString absoluteFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    return clean.endsWith(u'/') ? clean : clean + u'/';
}

// Copies one file and syncs it to disk: the folder is renamed into place
// only once every file in it would survive a power cut.
bool copyFile(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    QFile out(target);
    const auto fail = [&](const QFile& f) {
        *error = f.fileName() + QStringLiteral(": ") + f.errorString();
        return false;
    };
    if (!in.open(QIODevice::ReadOnly))
        return fail(in);
    // The template is installed read-only; the user's copy is written to.
    if (!out.open(QIODevice::WriteOnly))
        return fail(out);
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFile::NoError)
            return fail(in);
        if (out.write(block) != block.size())
            return fail(out);
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return fail(out);
    return true;
}

// The rename itself reaches the disk with the folder that holds it.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Copies every file and folder of source into target, which must not exist.
bool copyTree(const QString& source, const QString& target, QString* error)
{
    if (!QDir().mkpath(target)) {
        *error = target;
        return false;
    }
    // System: a dangling link is listed too, and fails the copy, rather than
    // leaving the user's folder short of a file.
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir from(source);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = QDir(target).filePath(from.relativeFilePath(file));
        const QFileInfo info = it.fileInfo();
        if (info.isDir()) {
            if (!QDir().mkpath(copy)) {
                *error = copy;
                return false;
            }
            continue;
        }
        if (!copyFile(file, copy, error))
            return false;
    }
    return true;
}

} // namespace

DataFolder::Inputs DataFolder::Inputs::fromSystem(const QString& programFolder, const QString& option)
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    return {programFolder, option, env.value(QStringLiteral("TOOLDESK_DATA")),
            env.value(QStringLiteral("XDG_DATA_HOME")), QDir::homePath()};
}

DataFolder DataFolder::choose(const Inputs& in)
{
    DataFolder d;
    const QString program = absoluteFolder(in.programFolder);
    d.m_template = absoluteFolder(program + QStringLiteral("../share/tooldesk/Data"));
    if (!in.option.isEmpty()) {
        d.m_source = Source::Option;
        d.m_path = absoluteFolder(in.option);
    } else if (!in.variable.isEmpty()) {
        d.m_source = Source::Environment;
        d.m_path = absoluteFolder(in.variable);
    } else if (QFileInfo(program + QStringLiteral("Data")).isDir()) {
        d.m_source = Source::Portable;
        d.m_path = program + QStringLiteral("Data/");
    } else {
        d.m_source = Source::UserData;
        // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
        const QString base = QDir::isAbsolutePath(in.xdgDataHome) ? in.xdgDataHome
                                                                  : in.home + QStringLiteral("/.local/share");
        d.m_path = absoluteFolder(base + QStringLiteral("/tooldesk/Data"));
    }
    return d;
}

QString DataFolder::prepare(const Messages& t) const
{
    const QString path = QDir::toNativeSeparators(QDir::cleanPath(m_path));
    const QString templ = QDir::toNativeSeparators(QDir::cleanPath(m_template));
    const QFileInfo folder(QDir::cleanPath(m_path)); // "file/" would not exist
    if (folder.exists())
        return folder.isDir() ? QString() : t.rsDataFolderNotFolder.arg(path);
    if (m_source != Source::UserData)
        return t.rsDataFolderMissing.arg(path, templ);
    if (!QFileInfo(m_template + QStringLiteral("DB.mdb")).isFile())
        return t.rsDataTemplateMissing.arg(path, templ);

    // Whole or nothing: a half-copied folder would be taken as ready at the next start.
    const QString target = QDir::cleanPath(m_path);
    const QString parent = QFileInfo(target).absolutePath();
    const QString temporary = QDir(parent).filePath(QStringLiteral(".Data-")
                                                    + QUuid::createUuid().toString(QUuid::Id128));
    QString failed;
    bool made = false;
    if (!QDir().mkpath(parent)) {
        failed = parent;
    } else if (copyTree(m_template, temporary, &failed)) {
        made = QDir().rename(temporary, target);
        if (made)
            syncFolder(parent);
        else
            failed = target;
    }
    QDir(temporary).removeRecursively();
    // Made here, or by another start of the program meanwhile.
    if (made || QFileInfo(target).isDir())
        return {};
    return t.rsDataFolderNotMade.arg(path, templ, QDir::toNativeSeparators(failed));
}

QString DataFolder::describe() const
{
    const QString path = QDir::toNativeSeparators(QDir::cleanPath(m_path));
    switch (m_source) {
    case Source::Option:
        return path + QStringLiteral(" (--data)");
    case Source::Environment:
        return path + QStringLiteral(" (TOOLDESK_DATA)");
    case Source::Portable:
        return path + QStringLiteral(" (beside the program)");
    case Source::UserData:
        break;
    }
    return path
        + QStringLiteral(" (the user's; made from %1 at the first start)")
              .arg(QDir::toNativeSeparators(QDir::cleanPath(m_template)));
}

QString DataFolder::takeOption(QStringList& arguments, bool* missingValue)
{
    *missingValue = false;
    QString value;
    for (int i = 1; i < arguments.size();) {
        const QString& a = arguments.at(i);
        if (a == u"--data") {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                *missingValue = true;
                arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
                continue;
            }
            value = arguments.at(i + 1);
            arguments.remove(i, 2);
        } else if (a.startsWith(u"--data=")) {
            value = a.mid(7);
            if (value.isEmpty())
                *missingValue = true;
            arguments.remove(i);
        } else {
            ++i;
        }
    }
    return value;
}

bool DataFolder::systemLanguageRussian()
{
    return QLocale::system().language() == QLocale::Russian;
}
