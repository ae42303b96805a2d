#include "TfmCFG.h"

#include "IniFile.h"
#include "Localization.h"
#include "Messages.h"
#include "app/Forms.h"
#include "desk/TfmMain.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kMain = QStringLiteral("MAIN");

// Blanks and control characters go from both ends, nothing from inside.
QString trimmedPassword(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

} // namespace

TfmCFG::TfmCFG(Forms& forms, Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_forms(forms)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmCFG"));
    setModal(true);
    resize(347, 107);

    cbChatgePass = new QCheckBox(this);
    cbChatgePass->setObjectName(QStringLiteral("cbChatgePass"));
    cbLeng = new QComboBox(this);
    cbLeng->setObjectName(QStringLiteral("cbLeng"));
    cbLeng->addItems({QStringLiteral("RU"), QStringLiteral("EN")});
    cbLeng->setCurrentIndex(-1);
    edPass = new QLineEdit(this);
    edPass->setObjectName(QStringLiteral("edPass"));
    edPass->setEchoMode(QLineEdit::Password);
    edPass->installEventFilter(this);
    btAdm = new QPushButton(this);
    btAdm->setObjectName(QStringLiteral("btAdm"));
    btAdm->setAutoDefault(false);
    btOper = new QPushButton(this);
    btOper->setObjectName(QStringLiteral("btOper"));
    btOper->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(cbChatgePass, 0, 0);
    grid->addWidget(cbLeng, 0, 1, Qt::AlignRight);
    grid->addWidget(edPass, 1, 0, 1, 2);
    grid->addWidget(btAdm, 2, 0);
    grid->addWidget(btOper, 2, 1);
    setTabOrder(btAdm, btOper);
    setTabOrder(btOper, cbChatgePass);
    setTabOrder(cbChatgePass, cbLeng);
    setTabOrder(cbLeng, edPass);

    connect(btAdm, &QPushButton::clicked, this, &TfmCFG::btAdmClick);
    connect(btOper, &QPushButton::clicked, this, &TfmCFG::btOperClick);
}

QString TfmCFG::digest(const QString& password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(trimmedPassword(password).toUtf8(), QCryptographicHash::Md5).toHex().toUpper());
}

QString TfmCFG::GetPass() const
{
    return IniFile(m_forms.main->iniPath()).read(kMain, QStringLiteral("Hash"), QStringLiteral("MD5"));
}

bool TfmCFG::SetPass(const QString& Value) const
{
    return IniFile(m_forms.main->iniPath()).write(kMain, QStringLiteral("Hash"), digest(Value));
}

QString TfmCFG::GetLenguage() const
{
    return IniFile(m_forms.main->iniPath()).read(kMain, QStringLiteral("Lenguage"), QStringLiteral("RU"));
}

void TfmCFG::RememberLenguage(const QString& Leng) const
{
    IniFile(m_forms.main->iniPath()).write(kMain, QStringLiteral("Lenguage"), Leng); // a failed write is ignored
}

void TfmCFG::FormCreate()
{
    const QString stored = GetLenguage().trimmed();
    int index = -1;
    for (int i = 0; i < cbLeng->count(); ++i) {
        if (cbLeng->itemText(i).compare(stored, Qt::CaseInsensitive) == 0)
            index = i;
    }
    // A stored language that is neither code starts in Russian, instead of
    // leaving every message text empty.
    cbLeng->setCurrentIndex(index < 0 ? 0 : index);
    cbLengChange();
    connect(cbLeng, &QComboBox::currentIndexChanged, this, &TfmCFG::cbLengChange, Qt::UniqueConnection);

    GoOperator = false;
    m_forms.main->cbClear->setChecked(m_forms.main->GetNaeedClear());
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_forms.main->DisabledButtons(true);
        m_platform.dialogs.showModal(*this);
    }
}

void TfmCFG::cbLengChange()
{
    if (m_forms.localization) {
        if (cbLeng->currentIndex() == 0)
            m_forms.localization->SetLanguage(1);
        else if (cbLeng->currentIndex() == 1)
            m_forms.localization->SetLanguage(0);
    }
    RememberLenguage(cbLeng->currentText());
}

void TfmCFG::btAdmClick()
{
    const Messages& t = *m_forms.texts;
    if (digest(edPass->text()) != GetPass()) {
        m_platform.dialogs.message(this, t.rsWrongPassword);
        edPass->clear();
        return;
    }
    GoOperator = true;
    TfmMain& main = *m_forms.main;
    main.setWindowTitle(t.rsCaptionAdmin);
    main.DisabledButtons(false);
    if (cbChatgePass->isChecked()) {
        if (const auto password = m_platform.dialogs.input(this, QStringLiteral("Change password"), t.rsNewPassword, {})) {
            // Only a digest that reached the file changes the password.
            m_platform.dialogs.message(this, SetPass(*password) ? t.rsPasswordChanged : t.rsPasswordNotChanged);
        }
    }
    accept();
    main.FormStarted = true;
    main.showEntry(main.btWriteOff);
}

void TfmCFG::btOperClick()
{
    GoOperator = true;
    m_forms.main->btSettings->hide();
    accept();
    m_forms.main->FormStarted = true;
}

bool TfmCFG::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edPass && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btAdmClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfmCFG::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edPass->setFocus(); // the password can be typed at once
}

void TfmCFG::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        edPass->setAccessibleName(edPass->placeholderText());
        cbLeng->setAccessibleName(cbLeng->toolTip());
    }
}
