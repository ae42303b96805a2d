#pragma once

#include "core/ImportKind.h"
#include "import/ImportPlan.h"
#include "widgets/Localization.h"

#include <QDialog>

class ImportRowsModel;
class Navigator;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Session;
struct Platform;

// Tools or workers from a CSV or XLSX file. Every row is shown with its
// verdict before anything is written; the user corrects the match of the
// file's columns, chooses whether existing codes are updated and where the
// photos are. Import writes all rows in one transaction, and only when no
// row is refused.
class TfmImport : public QDialog
{
    Q_OBJECT
public:
    TfmImport(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    // Shows the window modally for one register; see Navigator::openImport.
    void execute(ImportKind kind);

    // Chooses the file and shows its rows.
    void btFileClick();
    // Chooses the photo folder by one of its pictures.
    void btPhotosClick();
    // Writes the rows and closes the window; a failure leaves it open.
    void btImportClick();

    // Reads path and shows its rows (the chooser's work; tests call it directly).
    void openFile(const QString& path);
    const ImportPlan& plan() const { return m_plan; }

private:
    void clear();
    void buildColumnChoices();
    // The verdicts again, after a change of the match, the update choice or the photos.
    void replan();
    ImportRequest request() const;

    Session& m_session;
    Navigator& m_navigator;
    Platform& m_platform;
    ImportKind m_kind = ImportKind::Tools;
    ImportTable m_table;
    QList<int> m_match;
    ImportPlan m_plan;
    bool m_filling = false;

    QLabel* lbFile;
    QLineEdit* edFile;
    QPushButton* btFile;
    QCheckBox* cbUpdate;
    QLabel* lbPhotos;
    QLineEdit* edPhotos;
    QPushButton* btPhotos;
    QLabel* lbColumns;
    QWidget* pnColumns;
    QGridLayout* m_columnsLayout;
    QList<QComboBox*> m_columnBoxes;
    QLabel* lbRows;
    QTableView* gridRows;
    ImportRowsModel* m_rows;
    QLabel* lbSummary;
    QPushButton* btImport;
    QPushButton* btCancel;
};

QList<Localization::Text> importTexts();
