#include "TfmTools.h"

#include "app/Forms.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfmTools::TfmTools(Forms& forms, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmTools"));
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    cbWorkTypes = new QComboBox(this);
    btSearch = new QPushButton(this);
    lbRecordCount = new QLabel(this);
    Button1 = new QPushButton(this);
    Button2 = new QPushButton(this);
    Button3 = new QPushButton(this);
    btInvent = new QPushButton(this);
    btWorkTypes = new QPushButton(this);
    DBGrid1 = nullptr;
}

void TfmTools::FormCreate() {}
void TfmTools::FormShow() {}
void TfmTools::Search() {}
int TfmTools::GetTableRecordCount(const QString&) { return 0; }
void TfmTools::ShowTableRecordCount() {}
void TfmTools::LoadWorkTypes() {}
void TfmTools::applySavedSort() {}
void TfmTools::btSearchClick() {}
void TfmTools::cbWorkTypesChange() {}
void TfmTools::Button1Click() {}
void TfmTools::Button2Click() {}
void TfmTools::Button3Click() {}
void TfmTools::DBGrid1DblClick() {}
void TfmTools::DBGrid1TitleClick(int) {}
bool TfmTools::eventFilter(QObject* watched, QEvent* event) { return QWidget::eventFilter(watched, event); }
void TfmTools::changeEvent(QEvent* event) { QWidget::changeEvent(event); }

QList<Localization::Text> toolListTexts()
{
    return {};
}
