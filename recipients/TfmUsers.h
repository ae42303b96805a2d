#pragma once

#include "widgets/Localization.h"
#include "widgets/RegisterPage.h"

#include <QList>

class Navigator;
class QPushButton;
class Query;
class Session;
struct Platform;

// The recipient register page, embedded in the main window: finds
// recipients by code and name over the shared recipient result set, and
// opens the editor and the card on its current row.
class TfmUsers : public RegisterPage
{
    Q_OBJECT
public:
    TfmUsers(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Brought up from the left panel: the count refreshed; the list shows
    // what the last search found.
    void pageShown() override;

    void btSearchClick() override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
    void DBGrid1DblClick() override;
    void DBGrid1TitleClick(int column) override;
    // Badges of the current worker, of every worker listed or of typed codes.
    void btLabelsClick();
    // The list as searched and sorted, to an Excel or CSV file.
    void btExportClick();
    // Workers from a CSV or XLSX file (administrator).
    void btImportClick();

protected:
    int countMatches() override;
    QString recordCountText(int count) const override;

private:
    void connectHandlers();
    void followAccessMode();
    bool hasCurrent() const;
    // The editor on the row the list has made ready; the count and the desk follow what it saved.
    void openEditor();
    void refuseDelete(int heldTools);
    void deleteCurrent(const QString& key);

    Session& m_session;
    Query& m_users;
    Navigator& m_navigator;
    QPushButton* btLabels;
    QPushButton* btExport;
    QPushButton* btImport;
};

QList<Localization::Text> recipientListTexts();
