#include "FailureText.h"

#include "data/OriginalTables.h"

#include <QFileInfo>

namespace {

QString withEngineText(const QString& sentence, const DbError& error)
{
    return error.engineText().isEmpty() ? sentence : sentence + QStringLiteral("\n\n") + error.engineText();
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

QString eventFailureText(const DbError& error, const Messages& texts)
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
    default:
        cause = texts.rsCauseOther;
        break;
    }
    return withEngineText(texts.rsEventNotRecorded.arg(cause), error);
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
