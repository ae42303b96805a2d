#pragma once

#include "widgets/Page.h"

#include <QWidget>

class DbGrid;
class Dialogs;
class QLineEdit;
class QPushButton;

// A main-window page that finds rows with a code box and a text box and a
// search button, and lists them in a grid. The page says how it searches;
// this keeps the controls' names and their captions for screen readers.
class SearchPage : public QWidget, public Page
{
    Q_OBJECT
public:
    virtual void btSearchClick() = 0;

protected:
    SearchPage(Dialogs& dialogs, QWidget* parent);

    // The search boxes "Edit1" and "Edit2", on parent.
    void buildSearchBoxes(QWidget* parent);
    // The button "btSearch", which runs btSearchClick.
    void buildSearchButton(QWidget* parent);
    // The search boxes are captioned by their hints, the grid by the page's
    // title; then the page's own captions.
    void changeEvent(QEvent* event) override;
    virtual void languageChanged() { }

    Dialogs& m_dialogs;
    QLineEdit* m_codeBox = nullptr;
    QLineEdit* m_textBox = nullptr;
    QPushButton* m_searchButton = nullptr;
    DbGrid* m_grid = nullptr; // what the search found
};
