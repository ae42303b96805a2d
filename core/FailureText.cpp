#include "FailureText.h"

#include "data/OriginalTables.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withEngineText(const QString& sentence, const DbError& error)
{
    return FailureMessage{sentence, error.engineText()}.joined();
}

QString withSystemText(const QString& sentence, const FileWriteError& error)
{
    return FailureMessage{sentence, error.systemText()}.joined();
}

// A setting of the [DATABASE] section as written ("Port=abc"): the sentence
// that says what is wrong with it and how to mend it.
QString badSettingText(const DbError& error, const Messages& texts)
{
    const QString key = error.subject().section(u'=', 0, 0).trimmed();
    const QString value = error.subject().section(u'=', 1);
    const QString* sentence = &texts.rsDbSettingCharacters; // Host, Name or User with a character libpq splits on
    if (key.compare(u"Engine", Qt::CaseInsensitive) == 0)
        sentence = &texts.rsDbSettingEngine;
    else if (key.compare(u"Port", Qt::CaseInsensitive) == 0)
        sentence = &texts.rsDbSettingPort;
    else if (key.compare(u"SSLMode", Qt::CaseInsensitive) == 0)
        sentence = &texts.rsDbSettingSslMode;
    else if (key.compare(u"Name", Qt::CaseInsensitive) == 0 && value.trimmed().isEmpty())
        sentence = &texts.rsDbSettingName;
    return sentence->arg(error.path(), error.subject());
}

// Why libpq had no password from the password file it looked at.
QString passwordFileText(const QString& file, const Messages& texts)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile())
        return texts.rsPasswordFileMissing.arg(file);
    constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (info.permissions() & kOthers)
        return texts.rsPasswordFileOpen.arg(file);
    return texts.rsPasswordFileNoLine.arg(file);
}

} // namespace

QString FailureMessage::joined() const
{
    return detail.isEmpty() ? sentence : sentence + QStringLiteral("\n\n") + detail;
}

namespace {

QString causeText(const DbError& error, const Messages& texts)
{
    QString cause;
    switch (error.cause()) {
    case DbError::Cause::Busy:
        cause = texts.rsCauseBusy;
        break;
    case DbError::Cause::DiskFull:
        cause = texts.rsCauseDiskFull;
        break;
    case DbError::Cause::ReadOnlyFile:
    case DbError::Cause::ReadOnlyFolder:
    case DbError::Cause::PermissionDenied:
        cause = texts.rsCauseReadOnly;
        break;
    case DbError::Cause::ConnectionLost:
    case DbError::Cause::ServerUnreachable:
    case DbError::Cause::NoPassword:
        cause = texts.rsCauseConnectionLost;
        break;
    case DbError::Cause::Corrupt:
        cause = texts.rsCauseCorrupt;
        break;
    default:
        cause = texts.rsCauseOther;
        break;
    }
    return cause;
}

} // namespace

FailureMessage eventFailure(const DbError& error, const Messages& texts)
{
    return {texts.rsEventNotRecorded.arg(causeText(error, texts)), error.engineText()};
}

FailureMessage scanFailure(const QString& code, const DbError& error, const Messages& texts)
{
    return {texts.rsScanNotTaken.arg(code, causeText(error, texts)), error.engineText()};
}

FailureMessage databaseFailing(const DbError& error, const Messages& texts)
{
    const QString where = QDir::toNativeSeparators(error.path());
    if (isConnectionFailure(error))
        return {texts.rsNoDatabaseConnection + (where.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(where)),
                error.engineText()};
    return {texts.rsDatabaseFailing.arg(where, causeText(error, texts)), error.engineText()};
}

bool isConnectionFailure(const DbError& error)
{
    return error.cause() == DbError::Cause::ConnectionLost || error.cause() == DbError::Cause::ServerUnreachable;
}

QString openFailureText(const DbError& error, const Messages& texts)
{
    const QString* sentence = nullptr;
    switch (error.cause()) {
    case DbError::Cause::NotFound:
        sentence = &texts.rsDbNotFound;
        break;
    case DbError::Cause::Empty:
        sentence = &texts.rsDbEmpty;
        break;
    case DbError::Cause::NotDatabase:
        sentence = &texts.rsDbNotDatabase;
        break;
    case DbError::Cause::ReadOnlyFile:
        sentence = &texts.rsDbReadOnlyFile;
        break;
    case DbError::Cause::ReadOnlyFolder:
        sentence = &texts.rsDbReadOnlyFolder;
        break;
    case DbError::Cause::DiskFull:
        sentence = &texts.rsDbDiskFull;
        break;
    case DbError::Cause::Busy:
        sentence = &texts.rsDbBusy;
        break;
    case DbError::Cause::ServerUnreachable:
    case DbError::Cause::ConnectionLost:
        sentence = &texts.rsDbServerUnreachable;
        break;
    case DbError::Cause::Corrupt:
        sentence = &texts.rsDbCorrupt;
        break;
    case DbError::Cause::PermissionDenied:
        sentence = &texts.rsDbPermissionDenied;
        break;
    // The program's own findings, told whole in the sentence.
    case DbError::Cause::BadSetting:
        return badSettingText(error, texts);
    case DbError::Cause::NoPassword:
        return withEngineText(texts.rsDbNoPassword.arg(error.path(), passwordFileText(error.subject(), texts)), error);
    case DbError::Cause::ForeignTables: {
        const QString held = error.subject();
        const QString missing = missingOriginalTables(held.split(QStringLiteral(", "))).join(QStringLiteral(", "));
        return texts.rsDbForeignTables.arg(error.path(), missing, held);
    }
    case DbError::Cause::Other:
        // An upgrade step or a missing table: the engine's text below says which.
        if (error.path().isEmpty())
            return texts.rsDbOpenFailed.arg(error.engineText());
        sentence = &texts.rsDbOpenFailed;
        break;
    }
    return withEngineText(sentence->arg(error.path()), error);
}

QString fileWriteCauseText(const FileWriteError& error, const Messages& texts)
{
    const QString path = QDir::toNativeSeparators(error.path());
    switch (error.cause()) {
    case FileWriteError::Cause::DiskFull:
        return texts.rsFileDiskFull;
    case FileWriteError::Cause::NoPermission:
        return texts.rsFileNoPermission.arg(path);
    case FileWriteError::Cause::FolderMissing:
        return texts.rsFileFolderMissing.arg(path);
    case FileWriteError::Cause::NotAFolder:
        return texts.rsFileNotAFolder.arg(path);
    case FileWriteError::Cause::NotRegularFile:
        return texts.rsFileNotRegular.arg(path);
    case FileWriteError::Cause::SourceFile:
        return texts.rsFileIsDatabase.arg(path);
    case FileWriteError::Cause::CheckFailed:
        return texts.rsFileCheckFailed;
    case FileWriteError::Cause::Other:
        break;
    }
    return texts.rsFileOther;
}

QString fileWriteFailureText(const FileWriteError& error, const QString& headline, const QString& target,
                             const Messages& texts)
{
    return withSystemText(headline.arg(QDir::toNativeSeparators(target)) + u'\n' + fileWriteCauseText(error, texts),
                          error);
}

QString backupFailureText(const FileWriteError& error, const QString& target, const Messages& texts)
{
    if (error.cause() != FileWriteError::Cause::CheckFailed)
        return fileWriteFailureText(error, texts.rsBackupFailed, target, texts);
    return withSystemText(texts.rsBackupFailed.arg(QDir::toNativeSeparators(target)) + u'\n' + texts.rsBackupDamaged,
                          error);
}

QString writeOffFailureText(const DbError& error, qint64 act, const Messages& texts)
{
    QString cause;
    switch (error.cause()) {
    case DbError::Cause::DiskFull:
        cause = texts.rsFileDiskFull;
        break;
    case DbError::Cause::ReadOnlyFile:
        cause = texts.rsDbReadOnlyFile.arg(error.path());
        break;
    case DbError::Cause::ReadOnlyFolder:
        cause = texts.rsDbReadOnlyFolder.arg(error.path());
        break;
    case DbError::Cause::Busy:
        cause = texts.rsDbBusy.arg(error.path());
        break;
    case DbError::Cause::ConnectionLost:
    case DbError::Cause::ServerUnreachable:
        cause = texts.rsDbServerUnreachable.arg(error.path());
        break;
    default:
        break;
    }
    // The engine's text after the database it concerns.
    const QString headline = texts.rsActNotWrittenOff.arg(act);
    return (cause.isEmpty() ? headline : headline + u'\n' + cause) + QStringLiteral("\n\n") + error.text();
}
