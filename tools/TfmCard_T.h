#pragma once

#include "data/Query.h"
#include "widgets/Localization.h"
#include "widgets/RecordCard.h"
#include "widgets/TitleSort.h"

class DbGrid;
class QListWidget;
class Navigator;
class QueryModel;
class Session;
struct Platform;

// The tool card: one tool's fields and photo, its journal, its picture
// files; the operator's return of a tool that is out, and manual issue.
class TfmCard_T : public RecordCard
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
    // This tool's label.
    void btLabelClick();
    void btAddImageClick();
    void btDellImageClick();
    void ImgListDblClick();
    void DBGrid1TitleClick(int column);

    // The tool's lasting identity and its code, taken when the card opens.
    QString ID;
    QString ID_ForHend;

protected:
    void languageChanged() override;

private:
    void buildJournalPage();
    void buildPicturePage();
    void connectHandlers();
    void returnTool(bool& returned);
    bool storedInStore();
    QString selectedPicture() const;

    Session& m_session;
    Navigator& m_navigator;
    QueryModel* m_model;
    QString m_folder;
    TitleSort m_journalSort;

    QPushButton* btHend;
    QPushButton* btReturn;
    QPushButton* btLabel;
    // The pages are the journal and the pictures.
    DbGrid* m_journalGrid;
    QListWidget* ImgList;
    QPushButton* btAddImage;
    QPushButton* btDellImage;
};

QList<Localization::Text> toolCardTexts();
