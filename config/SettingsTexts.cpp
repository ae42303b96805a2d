#include "TfmSettings.h"

// The settings page's texts in both languages.
QList<Localization::Text> settingsTexts()
{
    using P = Localization::Property;
    return {
        {"TfmSettings", "cbShowTime", P::Caption, 0, " Отображать время в общем журнале",
         " Display time in general log"},
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
        {"TfmSettings", "HistoryColumnBox", P::Caption, 0, "Отображение столбцов журнала", "Journal column view"},
        {"TfmSettings", "cbHistoryToolID", P::Caption, 0, "ID инструмента", "Tool ID"},
        {"TfmSettings", "cbHistoryNaim", P::Caption, 0, "Наименование", "Name"},
        {"TfmSettings", "btBackup", P::Caption, 0, "Резервная копия базы данных...", "Back up the database..."},
        {"TfmSettings", "lbDatabaseTitle", P::Caption, 0, "База данных:", "Database:"},
        {"TfmSettings", "lbDataFolderTitle", P::Caption, 0, "Папка данных:", "Data folder:"},
    };
}
