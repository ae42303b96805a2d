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
    MSG(rsPriceNotNumber, "Стоимость должна быть числом!", "The price must be a number!"),
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

Localization::Localization(Forms& forms, const QList<QList<Text>>& tables)
    : m_forms(forms)
{
    for (const QList<Text>& table : tables)
        m_texts += table;
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
    for (const Text& t : m_texts) {
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
