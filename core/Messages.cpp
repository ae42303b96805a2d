#include "Messages.h"

namespace {

#define MSG(name, ru, en)                                                                                              \
    {                                                                                                                  \
#name, &Messages::name, ru, en                                                                                 \
    }
const QList<MessageText> kMessages = {
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
    MSG(rsToolIDTaken, "Введенный ID уже зарегистрирован у инструмента!",
        "ID is already registred by Tool, try another"),
    MSG(rsUserIDTaken, "Введенный ID уже зарегистрирован у пользователя!",
        "ID is already registred by User, try another"),
    MSG(rsDuplicateSerial, "Обнаружен дубликат серийного номера!", "Duplicate serial number detected!"),
    MSG(rsDeleteImageConfirm, "Удалить выбранное фото?", "Delete selected image?"),
    MSG(rsReturnConfirm, "Вернуть выбранный инструмент?", "Return selected tool?"),
    MSG(rsReturnedByOperator, "Инструмент сдан оператором", "Tool delivered by operator"),
    MSG(rsRequestError, "Ошибка обработки запроса", "Request processing error"),
    MSG(rsNewAktConfirm, "Создать новый АКТ списания инструмента?", "Create a new ACT of instrument write-off?"),
    MSG(rsToolOnHandNoAkt, "Инструмент на руках и не может быть добавлен в АКТ списания!",
        "The tool is on hand and cannot be added to the write-off ACT!"),
    MSG(rsToolWrittenOffNoAkt, "Инструмент уже списан и не может быть добавлен в АКТ списания!",
        "The tool is already written off and cannot be added to the write-off ACT!"),
    MSG(rsAktToolsOnHand,
        "Инструмент АКТа на руках, списание не выполнено: ", "Tools of the ACT are on hand, nothing was written off: "),
    MSG(rsWriteOffAllConfirm, "Списать весь инструмент для АКТа №", "Write off all instrument for ACT №"),
    MSG(rsAktTemplateNotFound, "Шаблон АКТ-а списания не найден", "Write-off ACT template not found"),
    MSG(rsAktNotFound, "АКТ не найден или не был сформирован. Выполните списание для формирования АКТ-а",
        "ACT was not found or was not formed. Write off to form an ACT"),
};
#undef MSG

} // namespace

const QList<MessageText>& messageTexts()
{
    return kMessages;
}

void setMessages(Messages& texts, bool russian)
{
    for (const MessageText& m : kMessages)
        texts.*(m.field) = QString::fromUtf8(russian ? m.ru : m.en);
}
