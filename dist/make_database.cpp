// Build step: writes the delivered empty database, the file the program
// never creates itself, already in today's layout so that a fresh install
// starts without an upgrade.
#include "data/Connection.h"
#include "data/DatabaseFile.h"
#include "data/DbError.h"
#include "data/OriginalTables.h"
#include "data/Query.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

namespace {

// A few recipients and tools for demonstrations and screenshots.
void addSampleRows(Connection& db)
{
    const char* users[][4] = {
        {"U001", "Иванов Иван Иванович", "ООО «Строймонтаж»", "Участок №1"},
        {"U002", "Петров Пётр Сергеевич", "ООО «Строймонтаж»", "Участок №2"},
    };
    for (const auto& u : users)
        db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO, Organization, Otdel) VALUES (?,?,?,?)"),
                {QString::fromUtf8(u[0]), QString::fromUtf8(u[1]), QString::fromUtf8(u[2]), QString::fromUtf8(u[3])});
    const char* tools[][5] = {
        {"T001", "Перфоратор", "Bosch", "GBH 2-26", "хорошее"},
        {"T002", "Шуруповёрт", "Makita", "DF333D", "новый"},
        {"T003", "Болгарка", "Metabo", "W 750-125", "среднее"},
    };
    for (const auto& t : tools)
        db.exec(
            QStringLiteral("INSERT INTO Tools (ID_Tool, ID_Tool_Unique, Tool_Type, Proizvoditel, Model, Tool_State, "
                           "Passed) VALUES (?,?,?,?,?,?,1)"),
            {QString::fromUtf8(t[0]), QString::fromUtf8(t[0]), QString::fromUtf8(t[1]), QString::fromUtf8(t[2]),
             QString::fromUtf8(t[3]), QString::fromUtf8(t[4])});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool sample = args.contains(QStringLiteral("--sample"));
    QStringList files = args;
    files.removeAll(QStringLiteral("--sample"));
    if (files.size() != 1) {
        std::fprintf(stderr, "usage: make_database [--sample] OUTPUT\n");
        return 2;
    }
    const QString path = files.first();
    QFile::remove(path);
    try {
        DatabaseFile::createEmpty(path);
        Connection db;
        db.open(path);
        createOriginalTables(db);
        {
            // The same upgrade as at every start, so both give one layout.
            Schema(db, {}).upgrade();
        }
        if (sample)
            addSampleRows(db);
        // Closing writes the log back and removes it: one file to ship. It
        // stays in write-ahead mode, so the first start writes nothing to it.
        db.exec(QStringLiteral("VACUUM"));
    } catch (const DbError& e) {
        QFile::remove(path);
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        if (QFile::exists(path + QLatin1String(suffix))) {
            std::fprintf(stderr, "%s%s was left beside the database\n", qPrintable(path), suffix);
            return 1;
        }
    }
    return 0;
}
