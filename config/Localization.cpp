#include "Localization.h"

#include "Messages.h"
#include "app/Forms.h"
#include "data/QueryModel.h"
#include "widgets/DbGrid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

using P = Localization::Property;

const QList<Localization::Text> kTexts = {
    // Sign-in window
    {"TfmCFG", "", P::Title, 0, "Авторизация", "Login"},
    {"TfmCFG", "cbChatgePass", P::Caption, 0, "Изменить пароль", "Change Password"},
    {"TfmCFG", "cbLeng", P::ToolTip, 0, "Язык интерфейса", "Interface language"},
    {"TfmCFG", "edPass", P::Hint, 0, "Введите пароль администратора", "Enter admin password"},
    {"TfmCFG", "btAdm", P::Caption, 0, "Администратор", "Administrator"},
    {"TfmCFG", "btOper", P::Caption, 0, "Оператор", "Operator"},

    // Main window
    {"TfmMain", "", P::Title, 0, "Выдача инструмента", "Tool issue"},
    {"TfmMain", "Panel4", P::Caption, 0, "Выдача инструмента", "Tool issue"},
    {"TfmMain", "SpeedButton5", P::Caption, 0, "Получатели", "Users"},
    {"TfmMain", "SpeedButton4", P::Caption, 0, "Инструмент", "Tools"},
    {"TfmMain", "SpeedButton3", P::Caption, 0, "Отчеты", "Reports"},
    {"TfmMain", "btWriteOff", P::Caption, 0, "Списание", "Write off"},
    {"TfmMain", "btSettings", P::Caption, 0, "Настройки", "Settings"},
    {"TfmMain", "Label9", P::Caption, 0, "Выдача инструмента", "Tool issue"},
    {"TfmMain", "edInput", P::Hint, 0, "Введите ID", "Enter ID"},
    {"TfmMain", "cbClear", P::Caption, 0, "Очищать поля", "Clear fields"},
    {"TfmMain", "btEndPacketIssue", P::Caption, 0, "Завершить", "To complete"},
    {"TfmMain", "cbPacketIssued", P::Caption, 0, "Пакетная выдача", "Batch issue"},
    {"TfmMain", "GroupBox1", P::Caption, 0, "Получатель", "User"},
    {"TfmMain", "Label1", P::Caption, 0, "ID сотрудника", "ID user"},
    {"TfmMain", "Label2", P::Caption, 0, "ФИО", "Name"},
    {"TfmMain", "Label3", P::Caption, 0, "Организация", "Company"},
    {"TfmMain", "Label4", P::Caption, 0, "Отдел", "Department"},
    {"TfmMain", "GroupBox2", P::Caption, 0, "Инструмент", "Tool"},
    {"TfmMain", "Label5", P::Caption, 0, "ID инструмента", "ID tool"},
    {"TfmMain", "Label6", P::Caption, 0, "Тип", "Type"},
    {"TfmMain", "Label7", P::Caption, 0, "Производитель", "Brant"},
    {"TfmMain", "Label8", P::Caption, 0, "Модель", "Model"},
    {"TfmMain", "grid_History", P::ColumnTitle, 0, "Дата", "Date"},
    {"TfmMain", "grid_History", P::ColumnTitle, 1, "Статус", "Status"},
    {"TfmMain", "grid_History", P::ColumnTitle, 2, "ФИО", "Name"},
    {"TfmMain", "grid_History", P::ColumnTitle, 3, "Тип инструмента", "Tool"},
    {"TfmMain", "grid_History", P::ColumnTitle, 4, "Модель", "Model"},
    {"TfmMain", "grid_History", P::ColumnTitle, 5, "Организация", "Company"},
    {"TfmMain", "grid_History", P::ColumnTitle, 6, "Состояние", "Condition"},
    {"TfmMain", "grid_History", P::ColumnTitle, 7, "Примечание", "Note"},
    {"TfmMain", "btAuth_x", P::Caption, 0, "Авторизация", "Login"},
    {"TfmMain", "SpeedButton1", P::Caption, 0, "Выход", "Exit"},

    // Settings page
    {"TfmSettings", "cbShowTime", P::Caption, 0, " Отображать время в общем журнале", " Display time in general log"},
    {"TfmSettings", "cbReturnToolOnlyOwner", P::Caption, 0, " Возврат инструмента только получателем",
     " Tool return by recipient only"},
    {"TfmSettings", "cbShowRecordCount", P::Caption, 0, " Показывать общее количество инструмента иполучателей",
     " Show total count of tool and recipients"},
    {"TfmSettings", "cbShowMainForm", P::Caption, 0, " Разворачивать окно ПО по таймауту (сек.)",
     " Maximize software window by timeout (sec.)"},
    {"TfmSettings", "cbPlaySound", P::Caption, 0, " Звуковой сигнал при выдачаче инструмента",
     " Sound signal when issuing a tool"},
    {"TfmSettings", "lbClearTimer", P::Caption, 0, "Таймаут очистки полей (получатель/инструмент)",
     "Field cleaning timeout (receiver / tool)"},
    {"TfmSettings", "lbPacketTimer", P::Caption, 0, "Таймаут пакетной выдачи инструмента", "Tool Batch Timeout"},
    {"TfmSettings", "ToolColumnBox", P::Caption, 0, "Отображение столбцов инструмента", "Tool column view"},
    {"TfmSettings", "cbToolType", P::Caption, 0, "Тип", "Type"},
    {"TfmSettings", "cbProizvoditel", P::Caption, 0, "Производитель", "Brand"},
    {"TfmSettings", "cbSerNum", P::Caption, 0, "Серийный №", "Serial №"},
    {"TfmSettings", "cbModel", P::Caption, 0, "Модель", "Model"},
    {"TfmSettings", "cbState", P::Caption, 0, "Состояние", "Condition"},
    {"TfmSettings", "cbDateProches", P::Caption, 0, "Приобретен", "Purchase date"},
    {"TfmSettings", "cbWoranty", P::Caption, 0, "Гарантия", "Warranty"},
    {"TfmSettings", "cbPrice", P::Caption, 0, "Цена", "Price"},
    {"TfmSettings", "cbNaim", P::Caption, 0, "Наименование", "Name"},
    {"TfmSettings", "cbInv", P::Caption, 0, "Инвентарный", "Inventory"},
    {"TfmSettings", "cbMesto", P::Caption, 0, "Место", "A place"},
};

#define MSG(name, ru, en) {#name, &Messages::name, ru, en}
const QList<Localization::MessageText> kMessages = {
    MSG(rsCaptionMain, "Выдача инструмента", "Tool issue"),
    MSG(rsCaptionReadOnly, "Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!",
        "Tool issue | EDITING PROHIBITED, CONTACT AN ADMINISTRATOR!"),
    MSG(rsCaptionAdmin, "Выдача инструмента | АДМИНИСТРАТОР", "Tool issue | ADMINISTRATOR"),
    MSG(rsIssueHeading, "Выдача инструмента", "Tool issue"),
    MSG(rsBatchIssueHeading, "Пакетная выдача инструмента", "Batch tool issue"),
    MSG(rsBatchIssue, "Пакетная выдача", "Batch issue"),
    MSG(rsFinish, "Завершить", "To complete"),
    MSG(rsConfigNotFound, "Не найден файл конфигурации, обратитесь к администратору",
        "Configuration file not found, contact administrator"),
    MSG(rsIssuedToOther, "Инструмент выдан другому получателю!", "Instrument issued to another recipient!"),
    MSG(rsNotePrefix, "Примечание: ", "Note: "),
    MSG(rsManualIssueDone, "Ручная выдача: Инструмент выдан!", "Manual Issue: Tool Issued!"),
    MSG(rsUserIDNotFound, "Не найден ID получателя!", "User ID not found!"),
    MSG(rsWrongPassword, "Введен неверный пароль, повторите ввод!", "Password is incorrect, enter again!"),
    MSG(rsPasswordChanged, "Пароль администратора был изменен!", "Administrator password has been changed!"),
    MSG(rsNewPassword, "Новый пароль: ", "New password: "),
    MSG(rsPasswordNotChanged, "Не удалось сохранить новый пароль: пароль администратора не изменен!",
        "The new password could not be saved: the administrator password has not been changed!"),
    MSG(rsDellConfirm, "Удалить выбранную запись?", "Delete selected entry?"),
    MSG(rsIDnotFound, "ID не найден", "ID not found"),
    MSG(rsToolIDTaken, "Введенный ID уже зарегистрирован у инструмента!", "ID is already registred by Tool, try another"),
    MSG(rsUserIDTaken, "Введенный ID уже зарегистрирован у пользователя!", "ID is already registred by User, try another"),
    MSG(rsDuplicateSerial, "Обнаружен дубликат серийного номера!", "Duplicate serial number detected!"),
    MSG(rsDeleteImageConfirm, "Удалить выбранное фото?", "Delete selected image?"),
    MSG(rsReturnConfirm, "Вернуть выбранный инструмент?", "Return selected tool?"),
    MSG(rsReturnedByOperator, "Инструмент сдан оператором", "Tool delivered by operator"),
    MSG(rsRequestError, "Ошибка обработки запроса", "Request processing error"),
    MSG(rsNewAktConfirm, "Создать новый АКТ списания инструмента?", "Create a new ACT of instrument write-off?"),
    MSG(rsToolOnHandNoAkt, "Инструмент на руках и не может быть добавлен в АКТ списания!",
        "The tool is on hand and cannot be added to the write-off ACT!"),
    MSG(rsWriteOffAllConfirm, "Списать весь инструмент для АКТа №", "Write off all instrument for ACT №"),
    MSG(rsAktTemplateNotFound, "Шаблон АКТ-а списания не найден", "Write-off ACT template not found"),
    MSG(rsAktNotFound, "АКТ не найден или не был сформирован. Выполните списание для формирования АКТ-а",
        "ACT was not found or was not formed. Write off to form an ACT"),
};
#undef MSG

QWidget* findWindow(const Forms& forms, const char* name)
{
    for (QWidget* w : forms.windows) {
        if (w && w->objectName() == QLatin1String(name))
            return w;
    }
    return nullptr;
}

void assign(QWidget* target, const Localization::Text& t, const QString& text)
{
    switch (t.property) {
    case P::Title:
        target->setWindowTitle(text);
        break;
    case P::Caption:
        if (auto* b = qobject_cast<QAbstractButton*>(target))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(target))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(target))
            g->setTitle(text);
        break;
    case P::Hint:
        if (auto* e = qobject_cast<QLineEdit*>(target))
            e->setPlaceholderText(text);
        break;
    case P::ToolTip:
        target->setToolTip(text);
        break;
    case P::ColumnTitle:
        if (auto* g = qobject_cast<DbGrid*>(target); g && g->queryModel())
            g->queryModel()->setColumnTitle(t.column, text);
        break;
    case P::Items:
        if (auto* c = qobject_cast<QComboBox*>(target)) {
            c->clear();
            c->addItems(text.split(u'\n'));
        }
        break;
    }
}

} // namespace

Localization::Localization(Forms& forms)
    : m_forms(forms)
{
}

const QList<Localization::Text>& Localization::texts()
{
    return kTexts;
}

const QList<Localization::MessageText>& Localization::messages()
{
    return kMessages;
}

void Localization::SetLanguage(int code)
{
    if (code == 1)
        SetTextsRU();
    else if (code == 0)
        SetTextsEN();
}

void Localization::SetTextsRU()
{
    apply(true);
}

void Localization::SetTextsEN()
{
    apply(false);
}

void Localization::apply(bool russian)
{
    if (m_forms.texts) {
        for (const MessageText& m : kMessages)
            m_forms.texts->*(m.field) = QString::fromUtf8(russian ? m.ru : m.en);
    }
    for (const Text& t : kTexts) {
        QWidget* window = findWindow(m_forms, t.window);
        if (!window)
            continue; // a window of a later start step
        QWidget* target = *t.control ? window->findChild<QWidget*>(QLatin1String(t.control)) : window;
        if (target)
            assign(target, t, QString::fromUtf8(russian ? t.ru : t.en));
    }
    // Windows refresh what follows from their texts (accessible names, headings).
    for (QWidget* w : m_forms.windows) {
        if (!w)
            continue;
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(w, &changed);
    }
}
