#include "TfmEditor_T.h"

#include "core/FileChoices.h"
#include "core/Navigator.h"
#include "core/PlaceLabelCode.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/CodeRegistry.h"
#include "data/Columns.h"
#include "data/DbError.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "widgets/DayChoice.h"
#include "widgets/DbComboBox.h"
#include "widgets/DbEdit.h"
#include "widgets/DbImage.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ImageFolder.h"
#include "widgets/Named.h"
#include "widgets/PictureFile.h"

#include <QCheckBox>
#include <QCompleter>
#include <QDateEdit>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* dots(QWidget* parent, const char* name)
{
    auto* b = named(new QToolButton(parent), name);
    b->setText(QStringLiteral("..."));
    return b;
}

} // namespace

TfmEditor_T::TfmEditor_T(Session& session, Navigator& navigator, Platform& platform, QWidget* parent)
    : RecordEditor(platform.dialogs, session.qTools, Register::Tools, "TfmEditor_T", parent)
    , m_session(session)
    , m_tools(session.qTools)
    , m_navigator(navigator)
    , m_platform(platform)
{
    buildFields();
    connectHandlers();
}

void TfmEditor_T::buildFields()
{
    Query& t = m_tools;

    m_codeBox = named(new DbEdit(t, col::Tools::ID_Tool, this), "DBEdit1");
    m_codeBox->setMaxLength(16);
    m_nameBox = named(new DbEdit(t, col::Tools::Naim, this), "DBEdit10");
    m_nameListButton = dots(this, "SpeedButton1");
    m_typeBox = named(new DbComboBox(t, col::Tools::Tool_Type, false, this), "DBLookupComboBox3");
    m_typeListButton = dots(this, "SpeedButton3");
    m_placeBox = named(new DbComboBox(t, col::Tools::Mesto, false, this), "DBLookupComboBox2");
    m_placeListButton = dots(this, "SpeedButton2");
    m_makerBox = named(new DbEdit(t, col::Tools::Proizvoditel, this), "DBEdit3");
    m_modelBox = named(new DbEdit(t, col::Tools::Model, this), "DBEdit4");
    m_serialBox = named(new DbEdit(t, col::Tools::SNumber, this), "DBEdit5");
    m_inventoryBox = named(new DbEdit(t, col::Tools::Inv, this), "DBEdit9");
    m_warrantyBox = named(new DbEdit(t, col::Tools::Guarantee, this), "DBEdit7");
    m_warrantyBox->setReadOnly(true);
    m_warrantyPicker = named(new QDateEdit(this), "DateTimePicker1");
    m_purchaseBox = named(new DbEdit(t, col::Tools::Date_Purchase, this), "DBEdit8");
    m_purchaseBox->setReadOnly(true);
    m_purchasePicker = named(new QDateEdit(this), "DateTimePicker2");
    for (QDateEdit* picker : {m_warrantyPicker, m_purchasePicker}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    m_stateBox = named(new DbComboBox(t, col::Tools::Tool_State, true, this), "DBComboBox1");
    m_priceBox = named(new DbEdit(t, col::Tools::Price, this), "DBEdit6");
    m_loanDaysBox = named(new DbEdit(t, col::Tools::LoanDays, this), "edLoanDays");
    m_loanDaysBox->setMaxLength(5);
    m_photo = named(new DbImage(t, col::Tools::Photo, QSize(184, 195), this), "DBImage1");
    m_photoButton = named(new QPushButton(this), "Button3");
    m_identityBox = named(new DbEdit(t, col::Tools::ID_Tool_Unique, this), "DBEdit2");
    m_identityBox->hide();
    layoutFields();
}

// Each field under its caption, the buddy of the box it captions.
void TfmEditor_T::layoutFields()
{
    auto* fields = new QGridLayout;
    auto row = [&](QWidget* control, QWidget* extra = nullptr) {
        const int r = static_cast<int>(labels.size());
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(r + 1));
        label->setBuddy(control);
        labels << label;
        fields->addWidget(label, r, 0);
        fields->addWidget(control, r, 1);
        if (extra)
            fields->addWidget(extra, r, 2);
    };
    row(m_codeBox);
    row(m_nameBox, m_nameListButton);
    row(m_typeBox, m_typeListButton);
    row(m_placeBox, m_placeListButton);
    row(m_makerBox);
    row(m_modelBox);
    row(m_serialBox);
    row(m_inventoryBox);
    row(m_warrantyBox, m_warrantyPicker);
    row(m_purchaseBox, m_purchasePicker);
    row(m_stateBox);
    row(m_priceBox);
    row(m_loanDaysBox);
    fields->setColumnMinimumWidth(1, 260);

    auto* photo = new QVBoxLayout;
    photo->addWidget(m_photo);
    photo->addWidget(m_photoButton);
    photo->addStretch(1);
    chLabel = named(new QCheckBox(this), "chLabel");
    photo->addWidget(chLabel);
    auto* body = new QHBoxLayout;
    body->addLayout(photo);
    body->addLayout(fields, 1);
    layOut(body, "Button1");
}

void TfmEditor_T::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(m_okButton, &QPushButton::clicked, this, d, [this] { btOKClick(); });
    guardedConnect(m_cancelButton, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(m_photoButton, &QPushButton::clicked, this, d, [this] { Button3Click(); });
    guardedConnect(m_nameListButton, &QToolButton::clicked, this, d, [this] { SpeedButton1Click(); });
    guardedConnect(m_placeListButton, &QToolButton::clicked, this, d, [this] { SpeedButton2Click(); });
    guardedConnect(m_typeListButton, &QToolButton::clicked, this, d, [this] { SpeedButton3Click(); });
    connectPicker(m_warrantyPicker, [this] { DateTimePicker1Change(); });
    connectPicker(m_purchasePicker, [this] { DateTimePicker2Change(); });
    // Entries added in a dictionary are offered at once.
    guardedConnect(&m_navigator, &Navigator::dictionaryChanged, this, d, [this] { refreshDictionaries(); });
}

void TfmEditor_T::connectPicker(QDateEdit* picker, const std::function<void()>& change)
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(picker, &QDateEdit::dateChanged, this, d, change);
    // Choosing the day the picker already shows changes no date, yet it is
    // the user's choice: a warranty that ends today.
    guardedConnect(new DayChoice(picker), &DayChoice::chosen, this, d, change);
}

void TfmEditor_T::FormCreate()
{
    IsNewRecord = false;
    auto* completer = new QCompleter(new QStringListModel(this), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    m_nameBox->setCompleter(completer);
    refreshDictionaries();
}

void TfmEditor_T::refreshDictionaries()
{
    Connection& db = m_session.connection();
    m_typeBox->setEntries(dictionaryEntries(db, DictionaryKind::Types));
    m_placeBox->setEntries(dictionaryEntries(db, DictionaryKind::Mesto));
    if (m_nameBox->completer())
        static_cast<QStringListModel*>(m_nameBox->completer()->model())
            ->setStringList(dictionaryEntries(db, DictionaryKind::Naim));
}

void TfmEditor_T::FormShow()
{
    OK = false;
    IsNewRecord = m_tools.state() == Query::State::Insert;
    const bool editing = m_tools.state() == Query::State::Edit;
    noteCode(col::Tools::ID_Tool);
    Old_Serial = editing ? m_tools.text(col::Tools::SNumber).trimmed() : QString();
    chosenPicture.clear();
    refreshDictionaries();
    // The pickers start from today; the boxes beside them show the row's dates.
    m_settingPickers = true;
    const QDate today = m_platform.clock.now().date();
    m_warrantyPicker->setDate(today);
    m_purchasePicker->setDate(today);
    m_settingPickers = false;
    // A new tool's label is offered; an edited one prints from its card.
    chLabel->setVisible(IsNewRecord);
    m_codeBox->setFocus();
}

QString TfmEditor_T::GetMaxToolID()
{
    const QVariant max = m_session.connection().largest(Select(col::Tools::Table), col::Key);
    return max.isNull() || !max.isValid() ? QString() : max.toString();
}

// A code that a place label's could be taken for.
QString TfmEditor_T::codeRefusal(const QString& code, const QString& before) const
{
    return placeLabelCodeRefusal(code, before, m_session.settings().placeLabelPrefix(), m_session.texts());
}

QString TfmEditor_T::codeTakenText(Register holder) const
{
    return holder == Register::Tools ? m_session.texts().rsToolIDTaken : m_session.texts().rsUserIDTaken;
}

bool TfmEditor_T::SerialFindDuplicate(const QString& ASerial)
{
    return refusedBy("SerialFindDuplicate", m_session.texts().rsDuplicateSerial,
                     [&] { return CodeRegistry(m_session.connection()).serialTaken(ASerial, ownKey()); });
}

void TfmEditor_T::btOKClick()
{
    Query& t = m_tools;
    if (t.state() == Query::State::Browse)
        return;
    const std::optional<QString> code = checkedCode(m_codeBox,
                                                    [this] { return GetMaxToolID() + QStringLiteral("001"); });
    if (!code)
        return;
    const bool inserting = t.state() == Query::State::Insert;
    const QString serial = m_serialBox->text().trimmed();
    if (!serial.isEmpty() && !(!Old_Serial.isEmpty() && Old_Serial == serial) && SerialFindDuplicate(serial))
        return;
    if (!m_priceBox->valueAccepted()) {
        m_platform.dialogs.message(this, m_session.texts().rsPriceNotNumber);
        return;
    }
    if (!m_loanDaysBox->valueAccepted() || t.integer(col::Tools::LoanDays) < 0) {
        m_platform.dialogs.message(this, m_session.texts().rsLoanDaysNotNumber);
        m_loanDaysBox->setFocus();
        return;
    }
    storeTrimmed(col::Tools::ID_Tool, *code);
    storeTrimmed(col::Tools::SNumber, serial);
    if (inserting)
        t.setValue(col::Tools::Passed, true);
    if (IsNewRecord) {
        t.setValue(col::Tools::ID_Tool_Unique, t.text(col::Tools::ID_Tool));
    }
    // Pictures belong to the tool's lasting identity, the folder its card lists.
    const QString identity = t.text(col::Tools::ID_Tool_Unique);
    t.post();
    IsNewRecord = false;
    t.reopen();
    OK = true;
    if (!chosenPicture.isEmpty() && QFileInfo::exists(chosenPicture)) {
        QString error;
        if (!copyPictureInto(chosenPicture, toolImagesFolderIn(m_session.paths().data, identity), &error))
            m_platform.dialogs.error(this, error); // the tool stays saved
    }
    accept();
    if (inserting && chLabel->isChecked())
        m_navigator.openLabels(LabelKind::Tools, *code, {});
}

void TfmEditor_T::storeTrimmed(const QString& field, const QString& trimmed)
{
    // Blanks around a code would keep the desk from ever finding it.
    if (m_tools.text(field) != trimmed)
        m_tools.setValue(field, trimmed);
}

void TfmEditor_T::Button1Click()
{
    reject();
}

void TfmEditor_T::done(int result)
{
    if (!OK)
        IsNewRecord = false;
    RecordEditor::done(result);
}

void TfmEditor_T::Button3Click()
{
    // Copied into the tool's picture folder when it is saved.
    FileChoices files(m_session);
    QString folder = files.folder(FileChoices::Kind::Picture);
    const QString path = choosePhoto(m_session.russian(), files.pictureFilter(), folder);
    files.rememberFolder(FileChoices::Kind::Picture, folder);
    if (!path.isEmpty())
        chosenPicture = path;
}

void TfmEditor_T::DateTimePicker1Change()
{
    Query& t = m_tools;
    if (!m_settingPickers && t.state() != Query::State::Browse)
        t.setValue(col::Tools::Guarantee, m_warrantyPicker->date());
}

void TfmEditor_T::DateTimePicker2Change()
{
    Query& t = m_tools;
    if (!m_settingPickers && t.state() != Query::State::Browse)
        t.setValue(col::Tools::Date_Purchase, m_purchasePicker->date());
}

void TfmEditor_T::openDictionary(DictionaryKind kind)
{
    m_navigator.openDictionary(kind);
    refreshDictionaries();
}

void TfmEditor_T::SpeedButton1Click()
{
    openDictionary(DictionaryKind::Naim);
}

void TfmEditor_T::SpeedButton2Click()
{
    openDictionary(DictionaryKind::Mesto);
}

void TfmEditor_T::SpeedButton3Click()
{
    openDictionary(DictionaryKind::Types);
}

void TfmEditor_T::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_warrantyPicker->setAccessibleName(labels.value(8) ? labels[8]->text() : QString());
    m_purchasePicker->setAccessibleName(labels.value(9) ? labels[9]->text() : QString());
    const QString dictionary = m_session.russian() ? QStringLiteral("Справочник") : QStringLiteral("Directory");
    m_nameListButton->setAccessibleName(dictionary + u' ' + labels.value(1)->text());
    m_placeListButton->setAccessibleName(dictionary + u' ' + labels.value(3)->text());
    m_typeListButton->setAccessibleName(dictionary + u' ' + labels.value(2)->text());
    m_identityBox->setAccessibleName(QStringLiteral("ID_Tool_Unique"));
}

QList<Localization::Text> toolEditorTexts()
{
    using P = Localization::Property;
    return {
        {"TfmEditor_T", "", P::Title, 0, "Редактор записей (инструмент)", "Record Editor (tool)"},
        {"TfmEditor_T", "Label1", P::Caption, 0, "ID инструмента", "ID tool"},
        {"TfmEditor_T", "Label2", P::Caption, 0, "Наименование", "Name"},
        {"TfmEditor_T", "Label3", P::Caption, 0, "Тип инструмента", "Tool"},
        {"TfmEditor_T", "Label4", P::Caption, 0, "Место", "A place"},
        {"TfmEditor_T", "Label5", P::Caption, 0, "Производитель", "Brand"},
        {"TfmEditor_T", "Label6", P::Caption, 0, "Модель", "Model"},
        {"TfmEditor_T", "Label7", P::Caption, 0, "Серийный №", "Serial №"},
        {"TfmEditor_T", "Label8", P::Caption, 0, "Инвентарный", "Inventory"},
        {"TfmEditor_T", "Label9", P::Caption, 0, "Дата гарантии", "Warranty date"},
        {"TfmEditor_T", "Label10", P::Caption, 0, "Дата приобретения", "Date of purchase"},
        {"TfmEditor_T", "Label11", P::Caption, 0, "Состояние", "Condition"},
        {"TfmEditor_T", "Label12", P::Caption, 0, "Стоимость", "Price"},
        {"TfmEditor_T", "Label13", P::Caption, 0, "Срок выдачи, дней", "Loan period, days"},
        {"TfmEditor_T", "edLoanDays", P::Hint, 0, "Пусто — срок типа, 0 — без срока",
         "Empty: the type's period; 0: none"},
        {"TfmEditor_T", "Button3", P::Caption, 0, "Открыть...", "Open..."},
        {"TfmEditor_T", "btOK", P::Caption, 0, "ОК", "OK"},
        {"TfmEditor_T", "Button1", P::Caption, 0, "Отмена", "Cancel"},
        {"TfmEditor_T", "chLabel", P::Caption, 0, "Напечатать этикетку", "Print its label"},
        {"TfmEditor_T", "chLabel", P::ToolTip, 0, "После записи нового инструмента открыть его этикетку",
         "After the new tool is saved, open its label"},
        {"TfmEditor_T", "DBComboBox1", P::Items, 0, "новый\nхорошее\nсреднее\nплохое\nсломан",
         "new\ngood\naverage\nbad\nbroken"},
    };
}
