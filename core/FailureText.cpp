#include "FailureText.h"

namespace {

QString withEngineText(const QString& sentence, const DbError& error)
{
    return error.engineText().isEmpty() ? sentence : sentence + QStringLiteral("\n\n") + error.engineText();
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
        cause = texts.rsCauseReadOnly;
        break;
    case DbError::Cause::ConnectionLost:
    case DbError::Cause::ServerUnreachable:
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
    case DbError::Cause::Other:
        return error.text(); // an upgrade step or a missing table: the engine says which
    }
    return withEngineText(sentence->arg(error.path()), error);
}
