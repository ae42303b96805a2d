#include "TfmHend.h"

#include "TfmMain.h"
#include "app/Forms.h"
#include "platform/Platform.h"

TfmHend::TfmHend(Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , Query(forms.main->connection())
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmHend"));
}

void TfmHend::FormCreate()
{
}

QList<Localization::Text> manualIssueTexts()
{
    return {};
}
