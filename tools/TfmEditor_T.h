#pragma once

#include "config/Localization.h"

#include <QDialog>

struct Forms;
struct Platform;

// The tool editor: the fields of the tool list's current row, which the list
// has put into insert or edit state. OK checks and saves; any other close
// discards.
class TfmEditor_T : public QDialog
{
    Q_OBJECT
public:
    TfmEditor_T(Forms& forms, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();

    bool OK = false;
    QString Old_Serial;
    bool IsNewRecord = false;

private:
    Forms& m_forms;
    Platform& m_platform;
};

QList<Localization::Text> toolEditorTexts();
