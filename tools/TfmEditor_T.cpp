#include "TfmEditor_T.h"

#include "core/CodeRegistry.h"
#include "core/Navigator.h"
#include "core/Session.h"
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
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_tools(session.qTools)
    , m_navigator(navigator)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("TfmEditor_T"));
    setModal(true);
    buildFields();
    connectHandlers();
}

void TfmEditor_T::buildFields()
{
    Query& t = m_tools;

    DBEdit1 = named(new DbEdit(t, QStringLiteral("ID_Tool"), this), "DBEdit1");
    DBEdit1->setMaxLength(16);
    DBEdit10 = named(new DbEdit(t, QStringLiteral("Naim"), this), "DBEdit10");
    SpeedButton1 = dots(this, "SpeedButton1");
    DBLookupComboBox3 = named(new DbComboBox(t, QStringLiteral("Tool_Type"), false, this), "DBLookupComboBox3");
    SpeedButton3 = dots(this, "SpeedButton3");
    DBLookupComboBox2 = named(new DbComboBox(t, QStringLiteral("Mesto"), false, this), "DBLookupComboBox2");
    SpeedButton2 = dots(this, "SpeedButton2");
    DBEdit3 = named(new DbEdit(t, QStringLiteral("Proizvoditel"), this), "DBEdit3");
    DBEdit4 = named(new DbEdit(t, QStringLiteral("Model"), this), "DBEdit4");
    DBEdit5 = named(new DbEdit(t, QStringLiteral("SNumber"), this), "DBEdit5");
    DBEdit9 = named(new DbEdit(t, QStringLiteral("Inv"), this), "DBEdit9");
    DBEdit7 = named(new DbEdit(t, QStringLiteral("Guarantee"), this), "DBEdit7");
    DBEdit7->setReadOnly(true);
    DateTimePicker1 = named(new QDateEdit(this), "DateTimePicker1");
    DBEdit8 = named(new DbEdit(t, QStringLiteral("Date_Purchase"), this), "DBEdit8");
    DBEdit8->setReadOnly(true);
    DateTimePicker2 = named(new QDateEdit(this), "DateTimePicker2");
    for (QDateEdit* picker : {DateTimePicker1, DateTimePicker2}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    DBComboBox1 = named(new DbComboBox(t, QStringLiteral("Tool_State"), true, this), "DBComboBox1");
    DBEdit6 = named(new DbEdit(t, QStringLiteral("Price"), this), "DBEdit6");
    DBImage1 = named(new DbImage(t, QStringLiteral("Photo"), QSize(184, 195), this), "DBImage1");
    Button3 = named(new QPushButton(this), "Button3");
    DBEdit2 = named(new DbEdit(t, QStringLiteral("ID_Tool_Unique"), this), "DBEdit2");
    DBEdit2->hide();
    btOK = named(new QPushButton(this), "btOK");
    Button1 = named(new QPushButton(this), "Button1");
    btOK->setDefault(true);
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
    row(DBEdit1);
    row(DBEdit10, SpeedButton1);
    row(DBLookupComboBox3, SpeedButton3);
    row(DBLookupComboBox2, SpeedButton2);
    row(DBEdit3);
    row(DBEdit4);
    row(DBEdit5);
    row(DBEdit9);
    row(DBEdit7, DateTimePicker1);
    row(DBEdit8, DateTimePicker2);
    row(DBComboBox1);
    row(DBEdit6);
    fields->setColumnMinimumWidth(1, 260);

    auto* photo = new QVBoxLayout;
    photo->addWidget(DBImage1);
    photo->addWidget(Button3);
    photo->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(photo);
    body->addLayout(fields, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
}

void TfmEditor_T::connectHandlers()
{
    Dialogs& d = m_platform.dialogs;
    guardedConnect(btOK, &QPushButton::clicked, this, d, [this] { btOKClick(); });
    guardedConnect(Button1, &QPushButton::clicked, this, d, [this] { Button1Click(); });
    guardedConnect(Button3, &QPushButton::clicked, this, d, [this] { Button3Click(); });
    guardedConnect(SpeedButton1, &QToolButton::clicked, this, d, [this] { SpeedButton1Click(); });
    guardedConnect(SpeedButton2, &QToolButton::clicked, this, d, [this] { SpeedButton2Click(); });
    guardedConnect(SpeedButton3, &QToolButton::clicked, this, d, [this] { SpeedButton3Click(); });
    connectPicker(DateTimePicker1, [this] { DateTimePicker1Change(); });
    connectPicker(DateTimePicker2, [this] { DateTimePicker2Change(); });
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
    DBEdit10->setCompleter(completer);
    refreshDictionaries();
}

void TfmEditor_T::refreshDictionaries()
{
    Connection& db = m_session.connection();
    DBLookupComboBox3->setEntries(dictionaryEntries(db, DictionaryKind::Types));
    DBLookupComboBox2->setEntries(dictionaryEntries(db, DictionaryKind::Mesto));
    if (DBEdit10->completer())
        static_cast<QStringListModel*>(DBEdit10->completer()->model())
            ->setStringList(dictionaryEntries(db, DictionaryKind::Naim));
}

void TfmEditor_T::execute()
{
    FormShow();
    m_platform.dialogs.showModal(*this);
}

void TfmEditor_T::FormShow()
{
    OK = false;
    IsNewRecord = m_tools.state() == Query::State::Insert;
    const bool editing = m_tools.state() == Query::State::Edit;
    m_originalCode = editing ? m_tools.text(QStringLiteral("ID_Tool")) : QString();
    Old_Serial = editing ? m_tools.text(QStringLiteral("SNumber")).trimmed() : QString();
    chosenPicture.clear();
    refreshDictionaries();
    // The pickers start from today; the boxes beside them show the row's dates.
    m_settingPickers = true;
    const QDate today = m_platform.clock.now().date();
    DateTimePicker1->setDate(today);
    DateTimePicker2->setDate(today);
    m_settingPickers = false;
    DBEdit1->setFocus();
}

QString TfmEditor_T::GetMaxToolID()
{
    const QVariant max = m_session.connection().scalar(QStringLiteral("SELECT MAX(ID) FROM Tools"));
    return max.isNull() || !max.isValid() ? QString() : max.toString();
}

bool TfmEditor_T::refusedBy(const char* name, const QString& message,
                            const std::function<bool(const CodeRegistry&)>& taken)
{
    bool found = false;
    try {
        found = taken(CodeRegistry(m_session.connection()));
    } catch (const DbError& e) {
        // A failed check does not stop the save.
        m_platform.dialogs.error(this, QLatin1String(name) + QStringLiteral(": ") + e.text());
        return false;
    }
    if (found)
        m_platform.dialogs.message(this, message);
    return found;
}

QVariant TfmEditor_T::ownKey() const
{
    // The row being edited is never a duplicate of itself.
    return m_tools.state() == Query::State::Edit ? m_tools.value(QStringLiteral("ID")) : QVariant();
}

bool TfmEditor_T::InTool_IDList(const QString& ID)
{
    return refusedBy("InTool_IDList", m_session.texts().rsToolIDTaken,
                     [&](const CodeRegistry& codes) { return codes.toolCodeTaken(ID, ownKey()); });
}

bool TfmEditor_T::InUser_IDList(const QString& ID)
{
    return refusedBy("InUser_IDList", m_session.texts().rsUserIDTaken,
                     [&](const CodeRegistry& codes) { return codes.recipientCodeTaken(ID); });
}

bool TfmEditor_T::SerialFindDuplicate(const QString& ASerial)
{
    return refusedBy("SerialFindDuplicate", m_session.texts().rsDuplicateSerial,
                     [&](const CodeRegistry& codes) { return codes.serialTaken(ASerial, ownKey()); });
}

void TfmEditor_T::btOKClick()
{
    Query& t = m_tools;
    if (t.state() == Query::State::Browse)
        return;
    if (DBEdit1->text().trimmed().isEmpty()) {
        t.setValue(QStringLiteral("ID_Tool"), GetMaxToolID() + QStringLiteral("001"));
    }
    const QString code = DBEdit1->text().trimmed();
    const bool inserting = t.state() == Query::State::Insert;
    const bool codeKept = !inserting && code == m_originalCode.trimmed();
    if (!codeKept && (InTool_IDList(code) || InUser_IDList(code)))
        return;
    const QString serial = DBEdit5->text().trimmed();
    if (!serial.isEmpty() && !(!Old_Serial.isEmpty() && Old_Serial == serial) && SerialFindDuplicate(serial))
        return;
    if (!DBEdit6->valueAccepted()) {
        m_platform.dialogs.message(this, m_session.texts().rsPriceNotNumber);
        return;
    }
    storeTrimmed(QStringLiteral("ID_Tool"), code);
    storeTrimmed(QStringLiteral("SNumber"), serial);
    if (inserting)
        t.setValue(QStringLiteral("Passed"), true);
    if (IsNewRecord) {
        t.setValue(QStringLiteral("ID_Tool_Unique"), t.text(QStringLiteral("ID_Tool")));
    }
    // Pictures belong to the tool's lasting identity, the folder its card lists.
    const QString identity = t.text(QStringLiteral("ID_Tool_Unique"));
    t.post();
    IsNewRecord = false;
    t.reopen();
    OK = true;
    if (!chosenPicture.isEmpty() && QFileInfo::exists(chosenPicture)) {
        QString error;
        if (!copyPictureInto(chosenPicture, toolImagesFolder(m_session.paths().folder, identity), &error))
            m_platform.dialogs.error(this, error); // the tool stays saved
    }
    accept();
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
    // Every close without a save discards what was typed.
    if (!OK) {
        m_tools.cancel();
        IsNewRecord = false;
    }
    QDialog::done(result);
}

void TfmEditor_T::Button3Click()
{
    const QString path = m_platform.dialogs.openPicture(this);
    if (path.isEmpty())
        return;
    const LoadedPicture picture = loadPicture(path);
    if (!picture.ok()) {
        m_platform.dialogs.error(this, picture.message(m_session.russian()));
        return;
    }
    Query& t = m_tools;
    if (t.state() == Query::State::Browse)
        return;
    chosenPicture = path;
    t.setValue(QStringLiteral("Photo"), storedPhoto(picture.image));
}

void TfmEditor_T::DateTimePicker1Change()
{
    Query& t = m_tools;
    if (!m_settingPickers && t.state() != Query::State::Browse)
        t.setValue(QStringLiteral("Guarantee"), DateTimePicker1->date());
}

void TfmEditor_T::DateTimePicker2Change()
{
    Query& t = m_tools;
    if (!m_settingPickers && t.state() != Query::State::Browse)
        t.setValue(QStringLiteral("Date_Purchase"), DateTimePicker2->date());
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
    DateTimePicker1->setAccessibleName(labels.value(8) ? labels[8]->text() : QString());
    DateTimePicker2->setAccessibleName(labels.value(9) ? labels[9]->text() : QString());
    const QString dictionary = m_session.russian() ? QStringLiteral("Справочник") : QStringLiteral("Directory");
    SpeedButton1->setAccessibleName(dictionary + u' ' + labels.value(1)->text());
    SpeedButton2->setAccessibleName(dictionary + u' ' + labels.value(3)->text());
    SpeedButton3->setAccessibleName(dictionary + u' ' + labels.value(2)->text());
    DBEdit2->setAccessibleName(QStringLiteral("ID_Tool_Unique"));
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
        {"TfmEditor_T", "Button3", P::Caption, 0, "Открыть...", "Open..."},
        {"TfmEditor_T", "btOK", P::Caption, 0, "ОК", "OK"},
        {"TfmEditor_T", "Button1", P::Caption, 0, "Отмена", "Cancel"},
        {"TfmEditor_T", "DBComboBox1", P::Items, 0, "новый\nхорошее\nсреднее\nплохое\nсломан",
         "new\ngood\naverage\nbad\nbroken"},
    };
}
