#include "TfmCFG.h"

#include "core/AdminPassword.h"
#include "core/DeskSelection.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TfmCFG::TfmCFG(Session& session, Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmCFG"));
    setModal(true);
    resize(347, 107);

    cbChatgePass = named(new QCheckBox(this), "cbChatgePass");
    cbLeng = named(new QComboBox(this), "cbLeng");
    cbLeng->addItems({QStringLiteral("RU"), QStringLiteral("EN")});
    cbLeng->setCurrentIndex(-1);
    edPass = named(new QLineEdit(this), "edPass");
    edPass->setEchoMode(QLineEdit::Password);
    edPass->installEventFilter(this);
    btAdm = named(new QPushButton(this), "btAdm");
    btAdm->setAutoDefault(false);
    btOper = named(new QPushButton(this), "btOper");
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

    guardedConnect(btAdm, &QPushButton::clicked, this, m_platform.dialogs, [this] { btAdmClick(); });
    guardedConnect(btOper, &QPushButton::clicked, this, m_platform.dialogs, [this] { btOperClick(); });
}

QString TfmCFG::digest(const QString& password)
{
    return adminPasswordDigest(password);
}

QString TfmCFG::GetPass() const
{
    return m_session.settings().passwordDigest();
}

bool TfmCFG::SetPass(const QString& Value) const
{
    return m_session.settings().setPasswordDigest(digest(Value));
}

QString TfmCFG::GetLenguage() const
{
    return m_session.settings().language();
}

void TfmCFG::RememberLenguage(const QString& Leng) const
{
    m_session.settings().setLanguage(Leng); // a failed write is ignored
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
    if (!m_languageBoxConnected) {
        m_languageBoxConnected = true;
        guardedConnect(cbLeng, &QComboBox::currentIndexChanged, this, m_platform.dialogs, [this] { cbLengChange(); });
    }

    GoOperator = false;
    m_session.desk().setClearAfterEvent(m_session.settings().clearFields());
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_session.setAccessMode(Session::AccessMode::Restricted);
        m_platform.dialogs.showModal(*this);
    }
}

void TfmCFG::cbLengChange()
{
    if (cbLeng->currentIndex() == 0 || cbLeng->currentIndex() == 1)
        m_session.setLanguage(cbLeng->currentText());
    RememberLenguage(cbLeng->currentText());
}

void TfmCFG::btAdmClick()
{
    const Messages& t = m_session.texts();
    if (digest(edPass->text()) != GetPass()) {
        m_platform.dialogs.message(this, t.rsWrongPassword);
        edPass->clear();
        return;
    }
    GoOperator = true;
    if (cbChatgePass->isChecked()) {
        if (const auto password = m_platform.dialogs.input(this, QStringLiteral("Change password"), t.rsNewPassword,
                                                           {})) {
            // Only a digest that reached the file changes the password.
            m_platform.dialogs.message(this, SetPass(*password) ? t.rsPasswordChanged : t.rsPasswordNotChanged);
        }
    }
    // Read back: a change that did not reach the file leaves the old password.
    m_session.setDeliveredPassword(isDeliveredPasswordDigest(GetPass()));
    accept();
    m_session.setAccessMode(Session::AccessMode::Administrator);
}

void TfmCFG::btOperClick()
{
    GoOperator = true;
    m_session.setDeliveredPassword(false); // the operator cannot change it
    accept();
    m_session.setAccessMode(Session::AccessMode::Operator);
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
