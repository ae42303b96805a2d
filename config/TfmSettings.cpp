#include "TfmSettings.h"

#include "IniFile.h"
#include "app/Forms.h"
#include "desk/TfmMain.h"
#include "platform/Dialogs.h"
#include "tools/TfmTools.h"

#include <QLabel>

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kMain = QStringLiteral("MAIN");

struct ColumnKey {
    const char* box;
    const char* key;
    const char* defaultValue;
};

const ColumnKey kColumnKeys[] = {
    {"cbToolType", "ToolColumnView_Type", "-1"},
    {"cbProizvoditel", "ToolColumnView_Proizvoditel", "-1"},
    {"cbSerNum", "ToolColumnView_SerNum", "-1"},
    {"cbModel", "ToolColumnView_Model", "-1"},
    {"cbState", "ToolColumnView_State", "-1"},
    {"cbDateProches", "ToolColumnView_DateProches", "-1"},
    {"cbWoranty", "ToolColumnView_Woranty", "-1"},
    {"cbPrice", "ToolColumnView_Price", "0"},
    {"cbNaim", "ToolColumnView_Naim", "0"},
    {"cbInv", "ToolColumnView_Inv", "0"},
    {"cbMesto", "ToolColumnView_Mesto", "0"},
};

QCheckBox* checkBox(QWidget* parent, const char* name)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QSpinBox* spinEdit(QWidget* parent, const char* name, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(1, 10000);
    spin->setValue(value);
    return spin;
}

} // namespace

TfmSettings::TfmSettings(Forms& forms, Dialogs& dialogs, const QString& programFolder, QWidget* parent)
    : QWidget(parent)
    , m_forms(forms)
    , m_dialogs(dialogs)
    , m_folder(programFolder)
{
    setObjectName(QStringLiteral("TfmSettings"));
    resize(898, 430);

    ToolColumnBox = new QGroupBox(this);
    ToolColumnBox->setObjectName(QStringLiteral("ToolColumnBox"));
    auto* columns = new QVBoxLayout(ToolColumnBox);
    for (const ColumnKey& c : kColumnKeys) {
        QCheckBox* box = checkBox(ToolColumnBox, c.box);
        box->setText(QLatin1String(c.box)); // captioned by name until the language switch
        columns->addWidget(box);
        m_columnBoxes << box;
        connect(box, &QCheckBox::toggled, this, [this] { cbToolTypeClick(); });
    }
    columns->addStretch();
    cbToolType = m_columnBoxes[0];
    cbProizvoditel = m_columnBoxes[1];
    cbSerNum = m_columnBoxes[2];
    cbModel = m_columnBoxes[3];
    cbState = m_columnBoxes[4];
    cbDateProches = m_columnBoxes[5];
    cbWoranty = m_columnBoxes[6];
    cbPrice = m_columnBoxes[7];
    cbNaim = m_columnBoxes[8];
    cbInv = m_columnBoxes[9];
    cbMesto = m_columnBoxes[10];

    auto* right = new QWidget(this);
    auto* grid = new QGridLayout(right);
    cbShowTime = checkBox(right, "cbShowTime");
    cbReturnToolOnlyOwner = checkBox(right, "cbReturnToolOnlyOwner");
    cbShowRecordCount = checkBox(right, "cbShowRecordCount");
    edShowTimer = spinEdit(right, "edShowTimer", 5);
    cbShowMainForm = checkBox(right, "cbShowMainForm");
    edTimer = spinEdit(right, "edTimer", 5);
    lbClearTimer = new QLabel(right);
    lbClearTimer->setObjectName(QStringLiteral("lbClearTimer"));
    lbClearTimer->setBuddy(edTimer);
    edPacketTimer = spinEdit(right, "edPacketTimer", 20);
    lbPacketTimer = new QLabel(right);
    lbPacketTimer->setObjectName(QStringLiteral("lbPacketTimer"));
    lbPacketTimer->setBuddy(edPacketTimer);
    cbPlaySound = checkBox(right, "cbPlaySound");
    cbPlaySound->setChecked(true);

    int row = 0;
    grid->addWidget(cbShowTime, row++, 0, 1, 2);
    grid->addWidget(cbReturnToolOnlyOwner, row++, 0, 1, 2);
    grid->addWidget(cbShowRecordCount, row++, 0, 1, 2);
    grid->addWidget(edShowTimer, row, 0);
    grid->addWidget(cbShowMainForm, row++, 1);
    grid->addWidget(edTimer, row, 0);
    grid->addWidget(lbClearTimer, row++, 1);
    grid->addWidget(edPacketTimer, row, 0);
    grid->addWidget(lbPacketTimer, row++, 1);
    grid->addWidget(cbPlaySound, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ToolColumnBox);
    layout->addWidget(right, 1);

    connect(cbShowTime, &QCheckBox::toggled, this, &TfmSettings::cbShowTimeClick);
    connect(cbReturnToolOnlyOwner, &QCheckBox::toggled, this, &TfmSettings::cbReturnToolOnlyOwnerClick);
    connect(cbShowRecordCount, &QCheckBox::toggled, this, &TfmSettings::cbShowRecordCountClick);
    connect(cbShowMainForm, &QCheckBox::toggled, this, &TfmSettings::cbShowMainFormClick);
    connect(cbPlaySound, &QCheckBox::toggled, this, &TfmSettings::cbPlaySoundClick);
}

QString TfmSettings::iniPath() const
{
    return m_folder + QStringLiteral("Data/Config.ini");
}

QString TfmSettings::LoadSettings(const QString& AName) const
{
    return IniFile(iniPath()).read(kMain, AName, QStringLiteral("0"));
}

void TfmSettings::SaveSettings(const QString& AName, const QString& AValue) const
{
    IniFile(iniPath()).write(kMain, AName, AValue); // a failed write is ignored
}

QString TfmSettings::GetLenguage() const
{
    return IniFile(iniPath()).read(kMain, QStringLiteral("Lenguage"), QStringLiteral("RU"));
}

void TfmSettings::FormCreate()
{
    // One bad value is reported with its key and does not stop the others
    // from loading.
    QStringList faults;
    auto readBool = [&](const char* key, QCheckBox* box) {
        const QString text = LoadSettings(QLatin1String(key));
        if (const auto value = IniFile::toBool(text))
            box->setChecked(*value);
        else
            faults << QStringLiteral("%1: '%2' is not a valid boolean value").arg(QLatin1String(key), text);
    };
    auto readInt = [&](const char* key, QSpinBox* spin) {
        const QString text = LoadSettings(QLatin1String(key));
        if (const auto value = IniFile::toInt(text))
            spin->setValue(std::clamp(*value, spin->minimum(), spin->maximum()));
        else
            faults << QStringLiteral("%1: '%2' is not a valid integer value").arg(QLatin1String(key), text);
    };

    readBool("ShowTime", cbShowTime);
    readBool("ReturnToolOnlyOwner", cbReturnToolOnlyOwner);
    cbReturnToolOnlyOwnerClick();
    readBool("ShowRecordCount", cbShowRecordCount);
    cbShowRecordCountClick();
    readBool("ShowMainForm", cbShowMainForm);
    readInt("ShowMainFormTimer", edShowTimer);
    readInt("TimerInterval", edTimer);
    readBool("PlaySound", cbPlaySound);
    readInt("PacketTimer", edPacketTimer);

    const auto marker = IniFile::toBool(LoadSettings(QStringLiteral("ToolColumnView")));
    if (!marker.value_or(false)) {
        QStringList lines{QStringLiteral("ToolColumnView=-1")};
        for (const ColumnKey& c : kColumnKeys)
            lines << QStringLiteral("%1=%2").arg(QLatin1String(c.key), QLatin1String(c.defaultValue));
        IniFile(iniPath()).appendLines(lines);
    }
    for (int i = 0; i < m_columnBoxes.size(); ++i)
        readBool(kColumnKeys[i].key, m_columnBoxes[i]);

    if (!faults.isEmpty())
        m_dialogs.error(this, faults.join(u'\n'));
}

void TfmSettings::FormDestroy()
{
    SaveSettings(QStringLiteral("ShowMainFormTimer"), QString::number(edShowTimer->value()));
    SaveSettings(QStringLiteral("TimerInterval"), QString::number(edTimer->value()));
    SaveSettings(QStringLiteral("PacketTimer"), QString::number(edPacketTimer->value()));
}

void TfmSettings::SaveToolColumnView() const
{
    if (!isVisible())
        return;
    for (int i = 0; i < m_columnBoxes.size(); ++i)
        SaveSettings(QLatin1String(kColumnKeys[i].key), m_columnBoxes[i]->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
}

void TfmSettings::cbShowTimeClick()
{
    const bool russian = GetLenguage() == u"RU";
    if (m_forms.main)
        m_forms.main->ShowTimeColumn(cbShowTime->isChecked(), russian);
    SaveSettings(QStringLiteral("ShowTime"), cbShowTime->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TfmSettings::cbReturnToolOnlyOwnerClick()
{
    SaveSettings(QStringLiteral("ReturnToolOnlyOwner"), cbReturnToolOnlyOwner->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TfmSettings::cbShowRecordCountClick()
{
    // The tool and recipient lists show their count labels from this box.
    if (m_forms.tools)
        m_forms.tools->lbRecordCount->setVisible(cbShowRecordCount->isChecked());
    SaveSettings(QStringLiteral("ShowRecordCount"), cbShowRecordCount->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TfmSettings::cbShowMainFormClick()
{
    SaveSettings(QStringLiteral("ShowMainForm"), cbShowMainForm->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
    if (cbShowMainForm->isChecked() && m_forms.main)
        m_forms.main->RestoreSeconds = 0;
}

void TfmSettings::cbPlaySoundClick()
{
    SaveSettings(QStringLiteral("PlaySound"), cbPlaySound->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
}

void TfmSettings::cbToolTypeClick()
{
    SaveToolColumnView();
}

void TfmSettings::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        edShowTimer->setAccessibleName(cbShowMainForm->text().trimmed());
}
