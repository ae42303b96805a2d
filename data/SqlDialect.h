#pragma once

#include "DbError.h"
#include "FieldKind.h"
#include "JournalMode.h"
#include "Select.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>

class FileSystemProbe;
class WorkProgress;

// Everything that differs between database engines. Windows and the schema
// upgrade speak through this, so no engine word appears in them.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    struct OpenOptions {
        int busyTimeoutMs = 10000;
        const FileSystemProbe* fileSystem = nullptr;
    };

    // Qt driver name and the connection options it needs.
    virtual QString driverName() const = 0;
    // Opens the database named by path without ever creating or changing a
    // file that cannot serve; throws DbError naming the cause.
    virtual void open(QSqlDatabase& db, const QString& path, const OpenOptions& options) const = 0;
    virtual JournalMode journalMode(const QSqlDatabase& db) const = 0;
    // Makes the database file hold every committed change, so that a copy
    // of it alone is a backup; false when other programs kept it from
    // completing. Never waits for them.
    virtual bool checkpoint(const QSqlDatabase& db, const QString& path, int busyTimeoutMs) const = 0;
    // True when the log file the engine writes into was deleted from the
    // database's folder while open (engines with such a file).
    virtual bool logFileLost(const QString& path) const
    {
        Q_UNUSED(path);
        return false;
    }
    // A consistent copy of the open database at target; throws
    // FileWriteError, or DbError when the engine keeps no file.
    virtual void backup(const QSqlDatabase& db, const QString& path, const QString& target,
                        WorkProgress* progress) const = 0;
    // What an error of the engine means for the user.
    virtual DbError::Cause causeOf(const QSqlDatabase& db, const QSqlError& error) const = 0;

    // Column definition for one of the store's column types ("MONEY",
    // "VARCHAR(255)", "Logical", "MEMO", "DATE", "TIME", "DATETIME",
    // "INTEGER", "CHAR(255)", "TEXT(16)", "LONGBINARY"); throws DbError for
    // a type the store never had.
    QString columnType(const QString& storeType) const { return columnTypeOf(kindOfStoreType(storeType)); }
    // Column definition of a column that holds values of that kind.
    virtual QString columnTypeOf(FieldKind kind) const = 0;
    // What a column of one of the store's column types holds.
    static FieldKind kindOfStoreType(const QString& storeType);
    // The definition of an auto-number key column.
    virtual QString autoKey(const QString& column) const = 0;
    // What a declared column type holds.
    virtual FieldKind kindOfDeclaredType(const QString& declaredType) const = 0;

    // Literals of the yes/no columns.
    virtual QString sqlTrue() const = 0;
    virtual QString sqlFalse() const = 0;
    // Order term that lists rows whose yes/no column is FALSE first, as
    // the original store did with "ORDER BY <column> DESC" (true was -1).
    virtual OrderTerm falseFirst(const QString& column) const = 0;
    // Order term for a client sort on a column of the given kind. Yes/no
    // columns keep the original store's order, where true (-1) sorted below
    // false (0).
    virtual OrderTerm orderTerm(const QString& column, FieldKind kind, bool descending) const = 0;

    // A condition true where column equals the one bound value, ignoring
    // letter case, Cyrillic included. Made for that value: when it is plain
    // ASCII the column's index serves the lookup.
    virtual QString caselessEquals(const QString& column, const QString& value) const = 0;
    // A condition true where column equals one of count bound values,
    // ignoring letter case, Cyrillic included.
    virtual QString caselessIn(const QString& column, int count) const = 0;
    // A condition true where column, its blanks and line ends at both ends
    // cut off, equals the one bound value ignoring letter case, Cyrillic
    // included. For uniqueness checks: no index serves it.
    virtual QString trimmedCaselessEquals(const QString& column) const = 0;
    // A condition true where column matches the one bound LIKE pattern
    // ('\\' escapes '%', '_' and itself), ignoring letter case, Cyrillic included.
    virtual QString caselessLike(const QString& column) const = 0;
    // A condition true where two written expressions (columns of two tables
    // in one statement) hold equal texts, ignoring letter case; the index of
    // caselessIndexTerm on the left one's column serves it. Binds nothing.
    virtual QString caselessSame(const QString& left, const QString& right) const = 0;
    // What an index on column must hold for caselessEquals to use it.
    virtual QString caselessIndexTerm(const QString& column) const = 0;
    // A condition true where column holds no text (NULL or empty), served
    // by the column's index of caselessIndexTerm; binds nothing.
    virtual QString missingText(const QString& column) const = 0;

    virtual QString quoteIdentifier(const QString& name) const = 0;
    // Whether NULL sorts before every value in an ascending order.
    virtual bool nullsSortLow() const = 0;

    // The user tables of the open database, by name.
    virtual QStringList userTables(const QSqlDatabase& db) const = 0;
    // The names of the indexes of the tables in userTables.
    virtual QStringList indexNames(const QSqlDatabase& db) const = 0;
    // The columns of a table in their order, with their declared types.
    virtual QList<QPair<QString, QString>> columns(const QSqlDatabase& db, const QString& table) const = 0;

    // A statement with its bound values.
    using BoundStatement = QPair<QString, QVariantList>;
    // The user tables whose declarations need more than the engine itself
    // to be read (an older layout of this program), so that other tools
    // fail on the file; empty when there are none.
    virtual QStringList tablesToRedeclare(const QSqlDatabase& db) const = 0;
    // The statements that declare such a table again with the engine's own
    // means, keeping every row, its indexes and its key counter. The caller
    // runs them in one write transaction.
    virtual QList<BoundStatement> redeclaration(const QSqlDatabase& db, const QString& table) const = 0;

    // The first statement of a transaction that will write.
    virtual QString beginWrite() const = 0;
    // Appended to a SELECT of one row inside a write transaction: keeps
    // other desks from changing the row until the transaction ends (empty
    // where beginWrite already holds the whole database).
    virtual QString lockRowSuffix() const = 0;

    // A statement that makes the auto-number of table's key column continue
    // after the highest key, once rows were written with their own keys;
    // binds nothing. Empty where the engine does this itself.
    virtual QString keyCounterAfterCopy(const QString& table, const QString& column) const = 0;

    // Whether the database lives on a server rather than in a file.
    virtual bool isServer() const = 0;

    // Value as the engine stores it for a column of this kind.
    virtual QVariant toStorage(FieldKind kind, const QVariant& value) const = 0;
    // A value read from the engine as the result sets hold it, the same on
    // every engine: dates and times as ISO texts, yes/no as 0 or 1.
    virtual QVariant fromEngine(const QVariant& value) const = 0;

    // How a desk learns that another desk committed a change. Either a
    // cheap statement whose one value changes whenever another connection
    // commits (polled), or a notification channel that every desk listens
    // on and a statement, run inside each write transaction, that sends on
    // it when the transaction commits. Empty where the engine has none.
    virtual QString changeCounter() const { return {}; }
    virtual QString changeChannel() const { return {}; }
    virtual QString changeNotification() const { return {}; }
};
