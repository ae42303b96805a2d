#include "TfmSettings.h"

#include "core/FailureText.h"
#include "core/FileChoices.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"
#include "data/WorkCancelled.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Named.h"
#include "widgets/ProgressWindow.h"
#include "widgets/ValueLabel.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const char* const kColumnBoxes[Settings::ToolColumnCount] = {
    "cbToolType", "cbProizvoditel", "cbSerNum", "cbModel", "cbState", "cbDateProches",
    "cbWoranty",  "cbPrice",        "cbNaim",   "cbInv",   "cbMesto",
};

QSpinBox* spinEdit(QWidget* parent, const char* name)
{
    auto* spin = named(new QSpinBox(parent), name);
    spin->setRange(Settings::MinTimeout, Settings::MaxTimeout);
    return spin;
}

} // namespace

TfmSettings::TfmSettings(Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_settings(session.settings())
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmSettings"));
    resize(898, 430);

    ToolColumnBox = named(new QGroupBox(this), "ToolColumnBox");
    auto* columns = new QVBoxLayout(ToolColumnBox);
    for (const char* name : kColumnBoxes) {
        auto* box = named(new QCheckBox(ToolColumnBox), name);
        box->setText(QLatin1String(name)); // captioned by name until the language switch
        columns->addWidget(box);
        m_columnBoxes << box;
    }
    columns->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(ToolColumnBox, 1);
    left->addWidget(buildJournalColumnBox());
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildSwitches(), 1);
    showSettings();
    bind();
}

// The journals' tool columns: each box shows its column or hides it at once.
QGroupBox* TfmSettings::buildJournalColumnBox()
{
    auto* box = named(new QGroupBox(this), "HistoryColumnBox");
    auto* boxes = new QVBoxLayout(box);
    using Column = Settings::JournalColumn;
    const std::pair<const char*, Column> columns[] = {{"cbHistoryToolID", Column::ToolCode},
                                                      {"cbHistoryNaim", Column::ToolName}};
    for (const auto& [name, column] : columns) {
        auto* check = named(new QCheckBox(box), name);
        check->setChecked(m_settings.journalColumnVisible(column));
        connect(check, &QCheckBox::toggled, &m_settings,
                [this, column](bool on) { m_settings.setJournalColumnVisible(column, on); });
        connect(&m_settings, &Settings::journalColumnsChanged, check,
                [this, check, column] { check->setChecked(m_settings.journalColumnVisible(column)); });
        boxes->addWidget(check);
    }
    return box;
}

QWidget* TfmSettings::buildSwitches()
{
    auto* right = new QWidget(this);
    auto* grid = new QGridLayout(right);
    cbShowTime = named(new QCheckBox(right), "cbShowTime");
    cbReturnToolOnlyOwner = named(new QCheckBox(right), "cbReturnToolOnlyOwner");
    cbShowRecordCount = named(new QCheckBox(right), "cbShowRecordCount");
    edShowTimer = spinEdit(right, "edShowTimer");
    cbShowMainForm = named(new QCheckBox(right), "cbShowMainForm");
    edTimer = spinEdit(right, "edTimer");
    lbClearTimer = named(new QLabel(right), "lbClearTimer");
    lbClearTimer->setBuddy(edTimer);
    edPacketTimer = spinEdit(right, "edPacketTimer");
    lbPacketTimer = named(new QLabel(right), "lbPacketTimer");
    lbPacketTimer->setBuddy(edPacketTimer);
    cbPlaySound = named(new QCheckBox(right), "cbPlaySound");
    btBackup = named(new QPushButton(right), "btBackup");
    lbDatabaseTitle = named(new QLabel(right), "lbDatabaseTitle");
    lbDatabase = named(new ValueLabel(right), "lbDatabase");
    lbDatabaseTitle->setBuddy(lbDatabase);
    lbDatabase->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbDataFolderTitle = named(new QLabel(right), "lbDataFolderTitle");
    lbDataFolder = named(new ValueLabel(right), "lbDataFolder");
    lbDataFolderTitle->setBuddy(lbDataFolder);
    lbDataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbDataFolder->setWordWrap(true);
    lbDeliveredPassword = named(new ValueLabel(right), "lbDeliveredPassword");
    lbDeliveredPassword->setWordWrap(true);
    QPalette warning = lbDeliveredPassword->palette();
    warning.setColor(QPalette::WindowText, QColor(190, 30, 30));
    lbDeliveredPassword->setPalette(warning);
    lbDeliveredPassword->hide();

    int row = 0;
    grid->addWidget(lbDeliveredPassword, row++, 0, 1, 2);
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
    grid->addWidget(btBackup, row++, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(lbDatabaseTitle, row++, 0, 1, 2);
    grid->addWidget(lbDatabase, row++, 0, 1, 2);
    grid->addWidget(lbDataFolderTitle, row++, 0, 1, 2);
    grid->addWidget(lbDataFolder, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    return right;
}

// Each control changes its setting; each setting's change shows in its control.
void TfmSettings::bind()
{
    guardedConnect(btBackup, &QPushButton::clicked, this, m_platform.dialogs, [this] { btBackupClick(); });
    Settings* s = &m_settings;
    connect(cbShowTime, &QCheckBox::toggled, s, &Settings::setShowTime);
    connect(cbReturnToolOnlyOwner, &QCheckBox::toggled, s, &Settings::setReturnToolOnlyOwner);
    connect(cbShowRecordCount, &QCheckBox::toggled, s, &Settings::setShowRecordCount);
    connect(cbShowMainForm, &QCheckBox::toggled, s, &Settings::setShowMainForm);
    connect(cbPlaySound, &QCheckBox::toggled, s, &Settings::setPlaySound);
    connect(edShowTimer, &QSpinBox::valueChanged, s, &Settings::setShowMainFormTimer);
    connect(edTimer, &QSpinBox::valueChanged, s, &Settings::setTimerInterval);
    connect(edPacketTimer, &QSpinBox::valueChanged, s, &Settings::setPacketTimer);
    for (int i = 0; i < m_columnBoxes.size(); ++i) {
        connect(m_columnBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) {
            m_settings.setToolColumnVisible(i + 1, on);
            SaveToolColumnView();
        });
    }

    connect(s, &Settings::showTimeChanged, cbShowTime, &QCheckBox::setChecked);
    connect(s, &Settings::returnToolOnlyOwnerChanged, cbReturnToolOnlyOwner, &QCheckBox::setChecked);
    connect(s, &Settings::showRecordCountChanged, cbShowRecordCount, &QCheckBox::setChecked);
    connect(s, &Settings::showMainFormChanged, cbShowMainForm, &QCheckBox::setChecked);
    connect(s, &Settings::playSoundChanged, cbPlaySound, &QCheckBox::setChecked);
    connect(s, &Settings::timeoutsChanged, this, &TfmSettings::showSettings);
    connect(s, &Settings::toolColumnsChanged, this, &TfmSettings::showSettings);
    connect(&m_session, &Session::deliveredPasswordChanged, this, &TfmSettings::showPasswordReminder);
    connect(&m_session, &Session::accessModeChanged, this, &TfmSettings::showPasswordReminder);
}

// Only the administrator sees the page; he is told while the password is
// still the delivered one.
void TfmSettings::showPasswordReminder()
{
    const bool remind = m_session.isAdministrator() && m_session.deliveredPassword();
    lbDeliveredPassword->setText(remind ? m_session.texts().rsDeliveredPasswordInUse : QString());
    lbDeliveredPassword->setVisible(remind);
}

void TfmSettings::showSettings()
{
    cbShowTime->setChecked(m_settings.showTime());
    cbReturnToolOnlyOwner->setChecked(m_settings.returnToolOnlyOwner());
    cbShowRecordCount->setChecked(m_settings.showRecordCount());
    cbShowMainForm->setChecked(m_settings.showMainForm());
    cbPlaySound->setChecked(m_settings.playSound());
    edShowTimer->setValue(m_settings.showMainFormTimer());
    edTimer->setValue(m_settings.timerInterval());
    edPacketTimer->setValue(m_settings.packetTimer());
    for (int i = 0; i < m_columnBoxes.size(); ++i)
        m_columnBoxes[i]->setChecked(m_settings.toolColumnVisible(i + 1));
}

void TfmSettings::FormCreate()
{
    const ConnectionDescription& database = m_session.connection().description();
    lbDatabase->setText(database.engineName() + QStringLiteral(": ") + database.displayName());
    lbDataFolder->setText(QDir::toNativeSeparators(QDir::cleanPath(m_session.paths().data)));
    // A server's database is backed up on the server, by its administrator.
    btBackup->setEnabled(!database.isServer());
    const QStringList faults = m_settings.load();
    if (!faults.isEmpty())
        m_platform.dialogs.error(this, faults.join(u'\n'));
}

void TfmSettings::btBackupClick()
{
    const Messages& t = m_session.texts();
    const QString suggested = m_session.paths().folder + QStringLiteral("DB_")
        + m_platform.clock.now().toString(QStringLiteral("yyyy-MM-dd_HH-mm")) + QStringLiteral(".mdb");
    FileChoices files(m_session);
    const QString file = m_platform.dialogs.saveFile(this, btBackup->text(), files.savePath(suggested));
    if (file.isEmpty())
        return;
    files.remember(FileChoices::Kind::Saved, file);
    try {
        ProgressWindow progress(window(), t.rsProgressBackup.arg(QDir::toNativeSeparators(file)));
        m_session.connection().backupTo(file, &progress);
    } catch (const WorkCancelled&) {
        return; // nothing written, the earlier file as it was
    } catch (const FileWriteError& e) {
        m_platform.dialogs.error(this, backupFailureText(e, file, t));
        return;
    } catch (const DbError& e) {
        m_platform.dialogs.error(this, t.rsBackupFailed.arg(file) + u'\n' + e.text());
        return;
    }
    m_platform.dialogs.message(this, t.rsBackupDone.arg(file));
}

void TfmSettings::FormDestroy()
{
    m_settings.saveTimeouts();
}

void TfmSettings::SaveToolColumnView()
{
    // Written from the page only: loading the boxes writes nothing.
    if (isVisible())
        m_settings.saveToolColumns();
}

void TfmSettings::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        edShowTimer->setAccessibleName(cbShowMainForm->text().trimmed());
        lbDatabase->setCaption(lbDatabaseTitle->text());
        lbDataFolder->setCaption(lbDataFolderTitle->text());
        showPasswordReminder();
    }
}
