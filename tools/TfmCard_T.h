#pragma once

#include "data/Query.h"
#include "widgets/Localization.h"

#include <QDialog>
#include <QHash>
#include <QList>

class DbGrid;
class DbImage;
class DbText;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class Navigator;
class QueryModel;
class Session;
struct Platform;

// The tool card: one tool's fields and photo, its journal, its picture
// files; the operator's return of a tool that is out, and manual issue.
class TfmCard_T : public QDialog
{
    Q_OBJECT
public:
    TfmCard_T(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Shows the card of the tool list's current tool modally after its
    // show-time work.
    void execute();
    // Takes the tool list's current tool: its identity, code, journal and
    // state. Throws DbError.
    void loadCurrentTool();
    // The tool's picture folder made and listed, the journal's times as hh:mm:ss.
    void FormShow();
    // Brings the tool list up again.
    void FormClose();

    // Loads the journal of the tool named by ID, newest first; the column
    // sort directions start afresh. Throws DbError.
    void reloadJournal();
    // Sets the two action buttons for a tool in the store or out; manual
    // issue is offered to an administrator only.
    void showToolState(bool inStore);
    // Lists the files of the tool's picture folder.
    void LoadImgList();
    // The tool's picture folder as computed by the last FormShow; empty before.
    const QString& imagesFolder() const { return m_folder; }

    void btReturnClick();
    void btHendClick();
    void btAddImageClick();
    void btDellImageClick();
    void ImgListDblClick();
    void DBGrid1TitleClick(int column);

    // The tool's lasting identity and its code, taken when the card opens.
    QString ID;
    QString ID_ForHend;
    // The card's journal.
    Query q;

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildFields(QLayout* into);
    void buildPages();
    void connectHandlers();
    void returnTool(bool& returned);
    bool storedInStore();
    QString selectedPicture() const;

    Session& m_session;
    Navigator& m_navigator;
    Platform& m_platform;
    QueryModel* m_model;
    QString m_folder;
    QHash<QString, bool> m_lastAscending; // per journal field: last click sorted ascending

    QPushButton* btHend;
    QPushButton* btReturn;
    DbImage* DBImage1;
    QList<QLabel*> captions; // Label1..Label11
    QList<DbText*> values;   // the value under each caption
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    DbGrid* DBGrid1;
    QListWidget* ImgList;
    QPushButton* btAddImage;
    QPushButton* btDellImage;
};

QList<Localization::Text> toolCardTexts();
