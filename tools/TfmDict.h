#pragma once

#include "core/Dictionary.h"
#include "data/Query.h"
#include "widgets/Localization.h"

#include <QDialog>
#include <QStringList>

class DbGrid;
class QAction;
class QBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class Navigator;
struct DictionaryLook;
class QueryModel;
class Session;
struct Platform;

// One dictionary window: the names, places or tool types offered for tool
// fields. The three windows are one class over three tables.
class TfmDict : public QDialog
{
    Q_OBJECT
public:
    using Kind = DictionaryKind;

    TfmDict(Kind kind, Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // The window it opens over, where the storekeeper is looking.
    void setAnchor(QWidget* window) { m_anchor = window; }

    Kind kind() const { return m_kind; }
    // The kind's table: NAIMENOVANIYA, MESTO or TOOLTYPES.
    QString tableName() const;
    // The table's entries, open for the program's life; editors offer them.
    ::Query Query;

    // Every AField text of Query, in the query's order (all rows are read).
    QStringList entries() const;

    void FormCreate();
    void btAddClick();
    void N1Click();
    // Place labels of the current place, of every place listed or of typed
    // codes; the places dictionary only.
    void btLabelsClick();

    DbGrid* DBGrid;
    QLineEdit* edField;
    QPushButton* btAdd;
    QPushButton* btLabels = nullptr; // the places dictionary only
    QMenu* PopupMenu;
    QAction* N1;
    // The types' loan period: the current entry's, set with Enter.
    QLabel* lbLoanDays = nullptr;
    QLineEdit* edLoanDays = nullptr;
    void edLoanDaysEnter();

signals:
    // After an entry was added or deleted, so open editors refresh their lists.
    void entriesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyGridLayout();
    void buildGrid(const DictionaryLook& k);
    void buildEntryRow(const DictionaryLook& k);
    void connectHandlers();
    // Every place's label code in the list's order: the prefix and the row's key.
    QStringList placeCodes();
    void buildLoanDaysRow(QBoxLayout* layout);
    void showLoanDays();

    Kind m_kind;
    Session& m_session;
    Navigator& m_navigator;
    Platform& m_platform;
    QWidget* m_anchor = nullptr;
    QueryModel* m_model = nullptr;
};

QList<Localization::Text> dictionaryTexts();
