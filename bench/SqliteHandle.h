#pragma once

#include "data/SqliteFunctions.h"

#include <QByteArray>
#include <QString>
#include <sqlite3.h>
#include <string>

// The bare C API for the benchmark's own reads and writes: one handle with
// the store's text rules registered, so the caseless indexes can be used.
class SqliteHandle
{
public:
    SqliteHandle() = default;
    ~SqliteHandle() { sqlite3_close(m_db); }
    SqliteHandle(const SqliteHandle&) = delete;
    SqliteHandle& operator=(const SqliteHandle&) = delete;

    bool open(const QString& path, bool readOnly)
    {
        const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
            m_error = path + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(m_db));
            return false;
        }
        if (!registerSqliteFunctions(m_db)) {
            m_error = path + QStringLiteral(": cannot register the text functions");
            return false;
        }
        return true;
    }

    bool exec(const QByteArray& sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
            return true;
        m_error = QString::fromUtf8(sql) + QStringLiteral(": ") + QString::fromUtf8(message ? message : "");
        sqlite3_free(message);
        return false;
    }

    const QString& error() const { return m_error; }
    void setError(const QString& text) { m_error = text; }
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    QString m_error;
};

// One prepared statement, reset after each run so it can be run again.
class SqliteStatement
{
public:
    SqliteStatement(SqliteHandle& db, const char* sql)
        : m_db(db)
    {
        if (sqlite3_prepare_v3(db.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
            db.setError(QString::fromUtf8(sql) + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db.get())));
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool valid() const { return m_stmt != nullptr; }

    // The texts must live until the statement has run.
    void bind(int i, const std::string& v)
    {
        sqlite3_bind_text(m_stmt, i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
    }
    void bind(int i, const char* v) { sqlite3_bind_text(m_stmt, i, v, -1, SQLITE_STATIC); }
    void bind(int i, const QByteArray& v)
    {
        sqlite3_bind_text(m_stmt, i, v.constData(), static_cast<int>(v.size()), SQLITE_STATIC);
    }
    void bind(int i, int v) { sqlite3_bind_int(m_stmt, i, v); }
    void bind(int i, double v) { sqlite3_bind_double(m_stmt, i, v); }
    void bindNull(int i) { sqlite3_bind_null(m_stmt, i); }

    int step()
    {
        if (!m_stmt)
            return SQLITE_MISUSE;
        return sqlite3_step(m_stmt);
    }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)));
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

    // Runs a statement that returns no rows; false with the engine's text kept.
    bool run()
    {
        const int rc = step();
        if (rc != SQLITE_DONE && m_stmt)
            m_db.setError(QString::fromUtf8(sqlite3_sql(m_stmt)) + QStringLiteral(": ")
                          + QString::fromUtf8(sqlite3_errmsg(m_db.get())));
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
        return rc == SQLITE_DONE;
    }

private:
    SqliteHandle& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};
