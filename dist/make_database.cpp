// Build step: writes the delivered empty database, the file the program
// never creates itself.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/DeliveredSchema.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_database OUTPUT\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
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
        db.exec(QStringLiteral("PRAGMA journal_mode=DELETE")); // one self-contained file to ship
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
