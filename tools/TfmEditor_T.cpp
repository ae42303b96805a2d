#include "TfmEditor_T.h"

#include "app/Forms.h"
#include "platform/Platform.h"

TfmEditor_T::TfmEditor_T(Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmEditor_T"));
}

void TfmEditor_T::FormCreate()
{
}

QList<Localization::Text> toolEditorTexts()
{
    return {};
}
