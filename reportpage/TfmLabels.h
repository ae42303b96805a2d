#pragma once

#include "core/Navigator.h"
#include "labels/LabelLayout.h"
#include "widgets/Localization.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class LabelRun;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class Session;
struct Platform;

// Labels of a register's tools, workers' badges or place labels: layout,
// symbol, copies, labels already used on the sheet, and which rows (the
// chosen one, every one listed, or typed codes). Every code is encoded and
// fitted before anything is shown or written; the labels go to the print
// preview or to a PDF at exact size in the Reports folder, opened in the
// desktop's viewer; either is printed at 100 %.
class TfmLabels : public QDialog
{
    Q_OBJECT
public:
    TfmLabels(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Shows the window modally for one register; see Navigator::openLabels.
    void execute(LabelKind kind, const QString& chosen, const std::function<QStringList()>& listed);
    // Writes the labels and closes the window; a refusal leaves it open.
    void btOKClick();
    // The labels in the print preview, to print at 100 %; nothing is written.
    void btPreviewClick();
    // The file last written, empty when none.
    const QString& writtenFile() const { return m_written; }

private:
    void layoutChanged();
    // The codes to print; an empty list with a message shown when there are none.
    std::optional<QStringList> codes();
    // Every label encoded and fitted; null when refused (the message shown).
    std::shared_ptr<const LabelRun> prepare();

    Session& m_session;
    Platform& m_platform;
    LabelKind m_kind = LabelKind::Tools;
    QString m_chosen;
    std::function<QStringList()> m_listed;
    QList<LabelLayout> m_layouts;
    QString m_written;

    QComboBox* cbLayout;
    QComboBox* cbSymbol;
    QSpinBox* seCopies;
    QSpinBox* seSkip;
    QRadioButton* rbChosen;
    QRadioButton* rbListed;
    QRadioButton* rbCodes;
    QLabel* lbCodes;
    QLineEdit* edCodes;
    QLabel* lbScale;
    QPushButton* btPreview;
};

QList<Localization::Text> labelsTexts();
