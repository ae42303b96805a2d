#include "TfmCFG.h"

// The sign-in window's texts in both languages.
QList<Localization::Text> signInTexts()
{
    using P = Localization::Property;
    return {
        {"TfmCFG", "", P::Title, 0, "Авторизация", "Login"},
        {"TfmCFG", "cbChatgePass", P::Caption, 0, "Изменить пароль", "Change Password"},
        {"TfmCFG", "cbLeng", P::ToolTip, 0, "Язык интерфейса", "Interface language"},
        {"TfmCFG", "edPass", P::Hint, 0, "Введите пароль администратора", "Enter admin password"},
        {"TfmCFG", "btAdm", P::Caption, 0, "Администратор", "Administrator"},
        {"TfmCFG", "btOper", P::Caption, 0, "Оператор", "Operator"},
    };
}
