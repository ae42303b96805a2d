#pragma once

#include "tests/data/DbFixture.h"

#include <QVariantList>

// A delivered database at today's layout with a few recipients, tools and
// journal rows, as the report tests print them.
struct ReportDb {
    ReportDb()
    {
        db.open(data.dbPath());
        dbfixture::upgrade(db);
    }

    qint64 addUser(const QString& code, const QString& fio, const QString& organization)
    {
        db.exec(QStringLiteral("INSERT INTO Users (ID_User, FIO, Organization) VALUES (?, ?, ?)"),
                {code, fio, organization});
        return db.scalar(QStringLiteral("SELECT MAX(ID) FROM Users")).toLongLong();
    }

    // values: ID_Tool, Tool_Type, Proizvoditel, Model, Inv, SNumber, Tool_State, Price, Issued_date, Passed, OwnerID
    void addTool(const QVariantList& values)
    {
        db.exec(QStringLiteral("INSERT INTO Tools (ID_Tool, Tool_Type, Proizvoditel, Model, Inv, SNumber, Tool_State, "
                               "Price, Issued_date, Passed, OwnerID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                values);
    }

    // values: ADate, ATime, Operation, FIO, IType, Model, Organization, State, Note, ID_U
    void addEvent(const QVariantList& values)
    {
        db.exec(QStringLiteral("INSERT INTO History (ADate, ATime, Operation, FIO, IType, Model, Organization, State, "
                               "Note, ID_U) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                values);
    }

    TestData data;
    Connection db;
};
