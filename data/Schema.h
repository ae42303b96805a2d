#pragma once

#include "Select.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Connection;
class SqlDialect;

// Brings an older database up to the current layout at every start. Each
// step looks for its column or table in the connection's catalogue and adds
// only what is missing, so a second start changes nothing.
class Schema
{
public:
    // beforeReconstruction is called once, before the first step that
    // rebuilds a table or fills a column (they may take a while); never
    // when there is nothing of that kind to do.
    Schema(Connection& connection, std::function<void()> beforeReconstruction);

    // Runs every step in order; throws DbError at the first failing one.
    void upgrade();

    // Text columns of older files declared with the program's own
    // collation, which locks every other tool out of the file: declared
    // again with a built-in one, every row kept, in one transaction.
    void MayBe_RedeclareText();
    void MayBeAddPrice();
    void MayBeAddTime();
    void MayBeAdd_NaimMestoInv();
    void MayBeAdd_Unique_ID();
    void MayBeAdd_ISSUED_DATE();
    void MayBeAdd_FIELD_TO_TOOLS(const QString& AFieldName, const QString& AFieldType);
    void MayBe_CreateTable(const QString& TABLE_NAME);
    void MayBe_CreateTable_AKTSpisaniya();
    // Loan periods of tool types and tools, and the due date an issue row keeps.
    void MayBeAddLoanPeriods();
    // Lookup indexes for the desk and the cards (not part of the original layout).
    void MayBeAddIndexes();

    // Every tool, those in the store first.
    static Select toolsDesign(const SqlDialect& dialect);
    // The journal, newest event first.
    static Select history();
    // A journal statement with the tool each row names beside it, as it is
    // registered now: its code col::Tools::ID_Tool and name col::Tools::Naim,
    // found by the row's ID_T as the tool's identity or else as its code
    // (the recipient card's return writes that); empty for a tool deleted.
    // Reads columns the upgrade adds: opened after it.
    static Select withToolColumns(Select journal);
    struct Index {
        QString name;
        QString statement; // does nothing when the index is there
    };
    // The indexes MayBeAddIndexes makes where they are missing.
    static QList<Index> indexes(const SqlDialect& dialect);

private:
    void reconstructionStarts();
    bool hasColumn(const QString& table, const QString& column);
    // Read from the catalogue once an upgrade, kept as the upgrade adds tables.
    bool hasTable(const QString& table);
    void addColumn(const QString& table, const QString& name, const QString& storeType);

    Connection& m_db;
    std::function<void()> m_beforeReconstruction;
    bool m_reconstructionAnnounced = false;
    std::optional<QStringList> m_tables;
};
