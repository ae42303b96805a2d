#pragma once

#include <QString>
#include <memory>

class WorkProgress;
class Query;
class TfrxReport;

// The statement of tools on hand of one recipient, in the template of the
// interface language, over the recipient's held tools and journal.
class OnHandStatement
{
public:
    struct Holder {
        QString fio;
        QString organization;
        QString code;
        int toolCount = 0;
        QString total; // as the card shows it
    };

    OnHandStatement();
    ~OnHandStatement();
    OnHandStatement(const OnHandStatement&) = delete;
    OnHandStatement& operator=(const OnHandStatement&) = delete;

    // The template of that language with the holder's details printed as
    // they stand (brackets in a name are not expressions), built over the
    // held tools. Throws ReportError.
    // progress, when given, is told of the rows and may stop the build (WorkCancelled).
    TfrxReport& prepare(bool russian, const Holder& holder, Query& heldTools, Query& journal,
                        WorkProgress* progress = nullptr);

private:
    std::unique_ptr<TfrxReport> frxReport_ToolOnH;
    std::unique_ptr<TfrxReport> frxReport_ToolOnH_EN;
};
