#pragma once

#include "data/Query.h"

#include <QHash>
#include <memory>

class WorkProgress;
class ComputedFieldSource;
class Connection;
class QueryRowSource;
class TfrxReport;

// The stock-taking list: the tools in the store, then the tools that are
// out with their holder's name, in the template of the interface language.
class InventoryReport
{
public:
    explicit InventoryReport(Connection& db);
    ~InventoryReport();
    InventoryReport(const InventoryReport&) = delete;
    InventoryReport& operator=(const InventoryReport&) = delete;

    // Both lists loaded as they are now and the template of that language
    // built from them. Throws DbError or ReportError.
    // progress, when given, is told of the rows and may stop the build (WorkCancelled).
    TfrxReport& prepare(bool russian, WorkProgress* progress = nullptr);

    Query qPassedTrue;
    Query qPassedFalse;

private:
    // The template of that language, read and bound on first use.
    TfrxReport& report(bool russian);
    // The holder's name by the recipients' key; empty for a key nobody has.
    QString ownerFio(const QVariant& ownerId);

    Connection& m_db;
    std::unique_ptr<QueryRowSource> m_outRows;
    std::shared_ptr<ComputedFieldSource> m_outWithOwner;
    QHash<QString, QString> m_owners; // looked up once per build
    std::unique_ptr<TfrxReport> frxReport_Invent_RU;
    std::unique_ptr<TfrxReport> frxReport_Invent_EN;
};
