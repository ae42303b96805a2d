#pragma once

#include "data/Query.h"
#include "widgets/Localization.h"
#include "widgets/SearchPage.h"

class Navigator;
class QSplitter;
class QToolButton;
class Session;
class WorkTypeBox;
struct ActDocumentResult;
struct Platform;

// The write-off page, embedded in the main window for the administrator:
// candidate tools found by code, type and work type; acts, each collecting
// tools; writing an act off and its Word document.
class TfmWriteOff : public SearchPage
{
    Q_OBJECT
public:
    TfmWriteOff(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();
    // Brought up from the left panel: work types reloaded, the columns as
    // the settings show them, searched anew.
    void pageShown() override;
    // Refills the work type choice; nothing is chosen afterwards.
    void LoadWorkTypes();
    void SetColumnView();
    void Search();
    // Reads the candidates again as searched now; settings are left as they are.
    void refresh();
    // The tools of act AKT_ID, or of the current act when it is 0.
    void ShowAKTConteiner(qint64 AKT_ID);
    // Makes the current act's document and opens it; false when it could not
    // be made (the reason was shown).
    bool CreateWriteOffAKT();

    void btSearchClick() override;
    void cbWorkTypesChange();
    void btADDtoAKTClick();
    void btNewAKTClick();
    void btWriteOffClick();
    void btWordExportClick();
    void btDocumentClick();

    // Candidates, every act, and the tools of the act shown.
    ::Query qTools_notWriteOff;
    ::Query qAKT;
    ::Query qAKT_Container;

protected:
    void languageChanged() override;

private:
    // Says that the act is written off and its document was not made, why,
    // and how to make it again.
    QString documentFailureText(const ActDocumentResult& result, int act, const QString& document) const;
    // Opens a document with the desktop's program, saying so when there is none.
    void openDocument(const QString& file);
    QWidget* buildSearchHalf();
    QWidget* buildActHalf();
    void connectHandlers();
    bool hasCurrentAct() const;
    qint64 currentAct() const;
    void followActs();
    void clearDeskOfAct(qint64 act);

    Session& m_session;
    Navigator& m_navigator;

    // The grid "Grid_Tools" lists the candidates.
    WorkTypeBox* cbWorkTypes;
    QPushButton* btADDtoAKT;
    QSplitter* m_pageSplitter; // the search half over the act half
    QPushButton* btNewAKT;
    QPushButton* btWriteOff;
    QToolButton* btWordExport;
    QPushButton* btDocument;
    DbGrid* Grid_AKT;
    QSplitter* m_actSplitter; // the acts beside the tools of the current one
    DbGrid* Grid_AKT_Conteiner;
};

QList<Localization::Text> writeOffTexts();
