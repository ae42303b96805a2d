#pragma once

#include "config/Localization.h"
#include "data/Query.h"

#include <QDialog>

class DbGrid;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QueryModel;
struct Forms;
struct Platform;

// One dictionary window: the names, places or tool types offered for tool
// fields. The three windows are one class over three tables.
class TfmDict : public QDialog
{
    Q_OBJECT
public:
    enum class Kind { Naim, Mesto, Types };

    TfmDict(Kind kind, Forms& forms, Platform& platform, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    // The table's entries, open for the program's life; editors offer them.
    ::Query Query;

    void FormCreate();
    void btAddClick();
    void N1Click();

    DbGrid* DBGrid;
    QLineEdit* edField;
    QPushButton* btAdd;
    QMenu* PopupMenu;
    QAction* N1;

private:
    Kind m_kind;
    Forms& m_forms;
    Platform& m_platform;
    QueryModel* m_model = nullptr;
};

QList<Localization::Text> dictionaryTexts();
