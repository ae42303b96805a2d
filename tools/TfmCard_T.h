#pragma once

#include "config/Localization.h"
#include "data/Query.h"

#include <QDialog>

class QPushButton;
struct Forms;
struct Platform;

// The tool card: one tool's fields and photo, its journal, its picture
// files; the operator's return of a tool that is out, and manual issue.
class TfmCard_T : public QDialog
{
    Q_OBJECT
public:
    TfmCard_T(Forms& forms, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();

    // Set by the tool list before showing: the tool's lasting identity and its code.
    QString ID;
    QString ID_ForHend;
    // The card's journal.
    Query q;

    QPushButton* btHend;
    QPushButton* btReturn;

private:
    Forms& m_forms;
    Platform& m_platform;
};

QList<Localization::Text> toolCardTexts();
