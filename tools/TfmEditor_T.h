#pragma once

#include "core/Dictionary.h"
#include "widgets/Localization.h"
#include "widgets/RecordEditor.h"

class DbComboBox;
class DbEdit;
class DbImage;
class QCheckBox;
class QDateEdit;
class QLabel;
class Navigator;
class QToolButton;
class Session;
struct Platform;

// The tool editor: the fields of the tool list's current row, which the list
// has put into insert or edit state. OK checks and saves; any other close
// discards.
class TfmEditor_T : public RecordEditor
{
    Q_OBJECT
public:
    TfmEditor_T(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();
    // Takes the row's state: a new tool, or the code and serial it had.
    void FormShow() override;

    void btOKClick();
    void Button1Click();
    void Button3Click();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

    bool SerialFindDuplicate(const QString& ASerial);
    QString GetMaxToolID();

    QString Old_Serial;
    bool IsNewRecord = false;
    // The picture file chosen in this showing.
    QString chosenPicture;

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    QString codeTakenText(Register holder) const override;
    QString codeRefusal(const QString& code, const QString& before) const override;

private:
    void buildFields();
    void layoutFields();
    void connectHandlers();
    void connectPicker(QDateEdit* picker, const std::function<void()>& change);
    void storeTrimmed(const QString& field, const QString& trimmed);
    void refreshDictionaries();
    void openDictionary(DictionaryKind kind);

    Session& m_session;
    Query& m_tools;
    Navigator& m_navigator;
    Platform& m_platform;
    bool m_settingPickers = false;
    // Kept ticked from one new tool to the next while the program runs.
    QCheckBox* chLabel;

    QList<QLabel*> labels; // Label1..Label13
    DbEdit* m_codeBox;
    DbEdit* m_nameBox;
    QToolButton* m_nameListButton;
    DbComboBox* m_typeBox;
    QToolButton* m_typeListButton;
    DbComboBox* m_placeBox;
    QToolButton* m_placeListButton;
    DbEdit* m_makerBox;
    DbEdit* m_modelBox;
    DbEdit* m_serialBox;
    DbEdit* m_inventoryBox;
    DbEdit* m_warrantyBox;
    QDateEdit* m_warrantyPicker;
    DbEdit* m_purchaseBox;
    QDateEdit* m_purchasePicker;
    DbComboBox* m_stateBox;
    DbEdit* m_priceBox;
    DbEdit* m_loanDaysBox; // empty: the type's period
    DbImage* m_photo;
    QPushButton* m_photoButton;
    DbEdit* m_identityBox; // the lasting identity, hidden
};

QList<Localization::Text> toolEditorTexts();
