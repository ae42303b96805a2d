#pragma once

#include "core/Dictionary.h"
#include "widgets/Localization.h"

#include <QDialog>

#include <functional>

class CodeRegistry;
class DbComboBox;
class DbEdit;
class DbImage;
class QDateEdit;
class QLabel;
class QPushButton;
class Navigator;
class Query;
class QToolButton;
class Session;
struct Platform;

// The tool editor: the fields of the tool list's current row, which the list
// has put into insert or edit state. OK checks and saves; any other close
// discards.
class TfmEditor_T : public QDialog
{
    Q_OBJECT
public:
    TfmEditor_T(Session& session, Navigator& navigator, Platform& platform, QWidget* parent = nullptr);

    void FormCreate();
    // Shows the editor modally on the list's current row, which the list has
    // put into insert or edit state.
    void execute();
    // Takes the row's state: a new tool, or the code and serial it had.
    void FormShow();

    void btOKClick();
    void Button1Click();
    void Button3Click();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

    bool InTool_IDList(const QString& ID);
    bool InUser_IDList(const QString& ID);
    bool SerialFindDuplicate(const QString& ASerial);
    QString GetMaxToolID();

    bool OK = false;
    QString Old_Serial;
    bool IsNewRecord = false;
    // The picture file chosen in this showing.
    QString chosenPicture;

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildFields();
    void layoutFields();
    void connectHandlers();
    void connectPicker(QDateEdit* picker, const std::function<void()>& change);
    // Shows message when taken finds the value in use; a database failure is
    // shown under the check's name and lets the save go on.
    bool refusedBy(const char* name, const QString& message, const std::function<bool(const CodeRegistry&)>& taken);
    QVariant ownKey() const;
    void storeTrimmed(const QString& field, const QString& trimmed);
    void refreshDictionaries();
    void openDictionary(DictionaryKind kind);

    Session& m_session;
    Query& m_tools;
    Navigator& m_navigator;
    Platform& m_platform;
    bool m_settingPickers = false;
    // The code the row had when the editor opened on it.
    QString m_originalCode;

    QList<QLabel*> labels; // Label1..Label12
    DbEdit* DBEdit1;
    DbEdit* DBEdit10;
    QToolButton* SpeedButton1;
    DbComboBox* DBLookupComboBox3;
    QToolButton* SpeedButton3;
    DbComboBox* DBLookupComboBox2;
    QToolButton* SpeedButton2;
    DbEdit* DBEdit3;
    DbEdit* DBEdit4;
    DbEdit* DBEdit5;
    DbEdit* DBEdit9;
    DbEdit* DBEdit7;
    QDateEdit* DateTimePicker1;
    DbEdit* DBEdit8;
    QDateEdit* DateTimePicker2;
    DbComboBox* DBComboBox1;
    DbEdit* DBEdit6;
    DbImage* DBImage1;
    QPushButton* Button3;
    DbEdit* DBEdit2;
    QPushButton* btOK;
    QPushButton* Button1;
};

QList<Localization::Text> toolEditorTexts();
