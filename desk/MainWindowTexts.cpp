#include "TfmMain.h"

// The main window's texts in both languages.
QList<Localization::Text> mainWindowTexts()
{
    using P = Localization::Property;
    return {
        {"TfmMain", "", P::Title, 0, "Выдача инструмента", "Tool issue"},
        {"TfmMain", "Panel4", P::Caption, 0, "Выдача инструмента", "Tool issue"},
        {"TfmMain", "SpeedButton5", P::Caption, 0, "Получатели", "Users"},
        {"TfmMain", "SpeedButton4", P::Caption, 0, "Инструмент", "Tools"},
        {"TfmMain", "SpeedButton3", P::Caption, 0, "Отчеты", "Reports"},
        {"TfmMain", "btToolsOut", P::Caption, 0, "Выданный инструмент", "Tools out"},
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
        {"TfmMain", "grid_History", P::ColumnTitle, 8, "ID инструмента", "Tool ID"},
        {"TfmMain", "grid_History", P::ColumnTitle, 9, "Наименование", "Name"},
        {"TfmMain", "btAuth_x", P::Caption, 0, "Авторизация", "Login"},
        {"TfmMain", "SpeedButton1", P::Caption, 0, "Выход", "Exit"},
        {"TfmMain", "SpeedButton6", P::ToolTip, 0, "Убрать показанного получателя (ничего не записывается)",
         "Clear the shown user (nothing is recorded)"},
        {"TfmMain", "SpeedButton7", P::ToolTip, 0, "Убрать показанный инструмент (ничего не записывается)",
         "Clear the shown tool (nothing is recorded)"},
        {"TfmMain", "btPacket", P::ToolTip, 0,
         "Пакетная выдача: получатель остается выбранным для нескольких инструментов подряд; "
         "повторное нажатие завершает выдачу",
         "Batch issue: the user stays selected for several tools in a row; press again to finish"},
    };
}
