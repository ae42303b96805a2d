#pragma once

#include "config/Localization.h"
#include "data/Query.h"

#include <QDialog>

struct Forms;
struct Platform;

// Manual issue: the administrator picks a recipient and issues the tool of
// the open tool card to them through the desk's recording.
class TfmHend : public QDialog
{
    Q_OBJECT
public:
    TfmHend(Forms& forms, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();

    // All recipients.
    ::Query Query;

private:
    Forms& m_forms;
    Platform& m_platform;
};

QList<Localization::Text> manualIssueTexts();
