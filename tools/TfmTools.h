#pragma once

#include "config/Localization.h"
#include "data/Query.h"

#include <QList>
#include <QPair>
#include <QWidget>

class DbGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QueryModel;
struct Forms;
struct Platform;

// The tool register page, embedded in the main window: finds tools by code,
// type and work type over the main window's tool result set, and opens the
// editor and the card on its current row.
class TfmTools : public QWidget
{
    Q_OBJECT
public:
    TfmTools(Forms& forms, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void Search();
    int GetTableRecordCount(const QString& ATable);
    void ShowTableRecordCount();
    void LoadWorkTypes();
    // Applies the saved SortTools when it is a sort of the list; anything else is no sort.
    void applySavedSort();

    void btSearchClick();
    void cbWorkTypesChange();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void DBGrid1DblClick();
    void DBGrid1TitleClick(int column);

    // Kept between the list and its dialogs: the row key of the tool that was
    // current when the editor or the card opened, and its code at that moment.
    qint64 RememberedToolKey = 0;
    QString RememberedToolCode;

    // The work types offered by cbWorkTypes; its current row is the chosen one.
    ::Query qWorkTypes;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QComboBox* cbWorkTypes;
    QPushButton* btSearch;
    QLabel* lbRecordCount;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* btInvent;
    QPushButton* btWorkTypes;
    DbGrid* DBGrid1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Forms& m_forms;
    Platform& m_platform;
    QueryModel* m_model = nullptr;
    void locateRemembered();
    QString setting(const QString& key) const;
    void saveSetting(const QString& key, const QString& value) const;

    // Work type row keys in combo order: two work types of one name stay apart.
    QList<qint64> WT_List;
};

QList<Localization::Text> toolListTexts();
