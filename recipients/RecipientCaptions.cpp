#include "RecipientCaptions.h"

QList<Localization::Text> recipientCaptionTexts(const char* window)
{
    const char* const captions[][3] = {{"Label1", "ID получателя", "ID user"},
                                       {"Label2", "ФИО", "Name"},
                                       {"Label3", "Телефон", "Phone"},
                                       {"Label4", "Организация", "Company"},
                                       {"Label5", "Отдел", "Department"},
                                       {"Label6", "ФИО руководителя", "Supervisor"},
                                       {"Label7", "Тел. руководителя", "Supervisor phone"}};
    QList<Localization::Text> rows;
    for (const auto& c : captions)
        rows.append({window, c[0], Localization::Property::Caption, 0, c[1], c[2]});
    return rows;
}
