#pragma once

#include "widgets/SearchPage.h"
#include "widgets/ValueLabel.h"

#include <QEvent>

#include <functional>

class Query;

class QHBoxLayout;
class QLabel;

// A register page: the search page with the count of what the code box
// finds, and buttons that add, change and delete the grid's current row,
// which the grid's double click opens and whose titles sort it. The
// handlers keep the names the register pages have always had.
class RegisterPage : public SearchPage
{
    Q_OBJECT
public:
    virtual void Button1Click() = 0; // add
    virtual void Button2Click() = 0; // change
    virtual void Button3Click() = 0; // delete
    virtual void DBGrid1DblClick() = 0;
    virtual void DBGrid1TitleClick(int column) = 0;
    // The rows of table whose code matches the code box; 0 for any
    // table but the page's own.
    int GetTableRecordCount(const QString& ATable);
    // Counts anew.
    void ShowTableRecordCount();
    // Counts anew only when the code box or the rows may have changed since
    // the last count: a count of a large register costs more than the page.
    void showRecordCountIfChanged();
    // The rows may have changed (here or at another desk): the next showing counts.
    void countMayHaveChanged() { m_countStale = true; }

    // The row buttons' captions, the same on every register page.
    static QList<Localization::Text> rowButtonTexts(const char* window);

protected:
    // The non-empty texts of field on every row of the list, fetching every
    // page: the codes a register lists, in its order.
    static QStringList listedTexts(Query& list, const QString& field);
    // table: the register's table, the one whose rows the page counts.
    RegisterPage(Platform& platform, const char* table, QWidget* parent);

    // "btSearch", the count "lbRecordCount" and the row buttons "Button1"
    // to "Button3", in that order after the search boxes and what stands
    // between them and the button.
    void buildRegisterControls();
    // The row above the grid: the search boxes, between, the search button,
    // the count, and the row buttons to the right, delete first.
    QHBoxLayout* registerBar(QWidget* between = nullptr);
    // The buttons and the grid run their handlers.
    void connectRegister();
    // Enter in a search box runs search when this key event comes: a press
    // or a release.
    void searchOnEnter(QEvent::Type keyEvent, std::function<void()> search);
    // Changing and deleting rows is the administrator's.
    void allowChanges(bool allowed);

    // The page's own rows whose code matches the code box.
    virtual int countMatches() = 0;
    virtual QString recordCountText(int count) const = 0;

    // A page in view counts anew; a hidden one, the tool list at every start
    // among them, shows its last count in the new language until it is shown.
    void languageChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    ValueLabel* m_countLabel = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_changeButton = nullptr;
    QPushButton* m_deleteButton = nullptr;

private:
    const char* m_table;
    int m_recordCount = 0; // the last count, rewritten in the language of the moment
    QString m_countedCode; // the code box's text it was made for
    bool m_countStale = true;
    QEvent::Type m_enterSearches = QEvent::None;
    std::function<void()> m_enterSearch;
};
