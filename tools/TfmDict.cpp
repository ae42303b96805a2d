#include "TfmDict.h"

#include "app/Forms.h"
#include "desk/TfmMain.h"
#include "platform/Platform.h"
#include "widgets/DbGrid.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

TfmDict::TfmDict(Kind kind, Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , Query(forms.main->connection())
    , m_kind(kind)
    , m_forms(forms)
    , m_platform(platform)
{
    static const char* names[] = {"TfmDict_Naim", "TfmDict_Mesto", "TfmDict_Types"};
    setObjectName(QLatin1String(names[static_cast<int>(kind)]));
    DBGrid = nullptr;
    edField = nullptr;
    btAdd = nullptr;
    PopupMenu = nullptr;
    N1 = nullptr;
}

void TfmDict::FormCreate()
{
}

void TfmDict::btAddClick()
{
}

void TfmDict::N1Click()
{
}

QList<Localization::Text> dictionaryTexts()
{
    return {};
}
