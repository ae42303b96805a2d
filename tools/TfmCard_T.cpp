#include "TfmCard_T.h"

#include "app/Forms.h"
#include "desk/TfmMain.h"
#include "platform/Platform.h"

#include <QPushButton>

TfmCard_T::TfmCard_T(Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , q(forms.main->connection())
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmCard_T"));
    btHend = new QPushButton(this);
    btHend->setObjectName(QStringLiteral("btHend"));
    btReturn = new QPushButton(this);
    btReturn->setObjectName(QStringLiteral("btReturn"));
}

void TfmCard_T::FormCreate()
{
}

QList<Localization::Text> toolCardTexts()
{
    return {};
}
