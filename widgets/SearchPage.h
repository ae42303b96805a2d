#pragma once

#include "widgets/Localization.h"
#include "widgets/Page.h"

#include <QWidget>

class DbGrid;
class QLineEdit;
class QPushButton;
struct Platform;

// A main-window page that finds rows with a code box and a text box and a
// search button, and lists them in a grid. The page says how it searches;
// this keeps the controls' names and their captions for screen readers.
class SearchPage : public QWidget, public Page
{
    Q_OBJECT
public:
    virtual void btSearchClick() = 0;

    // The search boxes' hints and the search button's caption on window.
    static QList<Localization::Text> searchTexts(const char* window, const char* codeRu, const char* codeEn,
                                                 const char* textRu, const char* textEn);

protected:
    SearchPage(Platform& platform, QWidget* parent);

    // The search boxes "Edit1" and "Edit2", on parent.
    void buildSearchBoxes(QWidget* parent);
    // The button "btSearch", which runs btSearchClick.
    void buildSearchButton(QWidget* parent);
    // The search boxes are captioned by their hints, the grid by the page's
    // title; then the page's own captions.
    void changeEvent(QEvent* event) override;
    virtual void languageChanged() { }

    Platform& m_platform;
    QLineEdit* m_codeBox = nullptr;
    QLineEdit* m_textBox = nullptr;
    QPushButton* m_searchButton = nullptr;
    DbGrid* m_grid = nullptr; // what the search found
};
