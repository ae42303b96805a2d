// Build step: writes the delivered empty database, the file the program
// never creates itself.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/DeliveredSchema.h"

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
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Tool_Type, Proizvoditel, Model, Tool_State, Passed) "
                               "VALUES (?,?,?,?,?,1)"),
                {QString::fromUtf8(t[0]), QString::fromUtf8(t[1]), QString::fromUtf8(t[2]), QString::fromUtf8(t[3]),
                 QString::fromUtf8(t[4])});
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) { // an empty file is an empty SQLite database
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    file.close();
    try {
        Connection db;
        db.open(path);
        createDeliveredTables(db);
        if (sample)
            addSampleRows(db);
        db.exec(QStringLiteral("PRAGMA journal_mode=DELETE")); // one self-contained file to ship
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
