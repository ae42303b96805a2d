#include "RegisterColumns.h"

#include "Columns.h"

const QList<RegisterColumn>& toolRegisterColumns()
{
    namespace T = col::Tools;
    static const QList<RegisterColumn> columns = {
        {T::ID_Tool, "ID инструмента", "ID tool"},
        {T::Tool_Type, "Тип", "Tool"},
        {T::Proizvoditel, "Производитель", "Brand"},
        {T::SNumber, "Серийный №", "Serial №"},
        {T::Model, "Модель", "Model"},
        {T::Tool_State, "Состояние", "Condition"},
        {T::Date_Purchase, "Приобретен", "Purchase date"},
        {T::Guarantee, "Гарантия", "Warranty"},
        {T::Price, "Цена", "Price"},
        {T::Naim, "Наименование", "Name"},
        {T::Inv, "Инвентарный", "Inventory"},
        {T::Mesto, "Место", "Place"},
    };
    return columns;
}

const QList<RegisterColumn>& recipientRegisterColumns()
{
    namespace U = col::Users;
    static const QList<RegisterColumn> columns = {
        {U::ID_User, "ID получателя", "ID user"},
        {U::FIO, "ФИО", "Name"},
        {U::Phone, "Телефон", "Phone number"},
        {U::Organization, "Организация", "Company"},
        {U::Otdel, "Отдел", "Department"},
        {U::Shef_FIO, "ФИО руководителя", "Supervisor"},
        {U::Shef_Phone, "Тел. руководителя", "Supervisor phone"},
    };
    return columns;
}
