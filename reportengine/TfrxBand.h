#pragma once

#include "TfrxMemoView.h"

#include <QString>
#include <memory>
#include <vector>

// A horizontal strip of a report page holding memos. Its kind decides where
// and how often it prints: the title once at the top, a page header and
// footer on every page, a master band once per row of its data set, a
// header before the first of those rows and a footer after the last.
class TfrxBand
{
public:
    enum class Kind { ReportTitle, PageHeader, Header, MasterData, Footer, PageFooter };

    TfrxBand(Kind kind, const QString& name);

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; }

    double height() const { return m_height; } // report units
    void setHeight(double units) { m_height = units; }

    // The data set a master band walks.
    const QString& dataSet() const { return m_dataSet; }
    void setDataSet(const QString& name) { m_dataSet = name; }

    // A stretched band grows to fit its stretching memos.
    bool stretched() const { return m_stretched; }
    void setStretched(bool stretched) { m_stretched = stretched; }

    TfrxMemoView& addMemo(const QString& name);
    const std::vector<std::unique_ptr<TfrxMemoView>>& memos() const { return m_memos; }
    TfrxMemoView* findMemo(const QString& name) const;

private:
    Kind m_kind;
    QString m_name;
    double m_height = 0;
    QString m_dataSet;
    bool m_stretched = false;
    std::vector<std::unique_ptr<TfrxMemoView>> m_memos;
};
