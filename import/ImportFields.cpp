#include "ImportFields.h"

#include "data/Columns.h"

namespace {

// The grid's caption first (Russian, English), then the editor's where it differs.
ImportField field(const QString& column, ImportValue value, bool required, int maxLength,
                  std::initializer_list<const char*> captions)
{
    ImportField f{column, value, required, maxLength, {}};
    for (const char* c : captions)
        f.headings << QString::fromUtf8(c);
    f.headings << column;
    return f;
}

QString folded(QString heading)
{
    heading = heading.simplified();
    while (heading.endsWith(u'.') || heading.endsWith(u':') || heading.endsWith(u'*'))
        heading.chop(1);
    return heading.trimmed().toCaseFolded();
}

} // namespace

const QList<ImportField>& importFields(ImportKind kind)
{
    namespace T = col::Tools;
    namespace U = col::Users;
    static const QList<ImportField> tools = {
        field(T::ID_Tool, ImportValue::Code, false, 16, {"ID инструмента", "ID tool", "Код", "Code"}),
        field(T::Tool_Type, ImportValue::Text, false, 255, {"Тип", "Tool", "Тип инструмента", "Type"}),
        field(T::Proizvoditel, ImportValue::Text, false, 255, {"Производитель", "Brand", "Maker"}),
        field(T::SNumber, ImportValue::Text, false, 255, {"Серийный №", "Serial №", "Serial number", "Серийный номер"}),
        field(T::Model, ImportValue::Text, false, 255, {"Модель", "Model"}),
        field(T::Tool_State, ImportValue::Text, false, 255, {"Состояние", "Condition"}),
        field(T::Date_Purchase, ImportValue::Date, false, 0,
              {"Приобретен", "Purchase date", "Дата приобретения", "Date of purchase"}),
        field(T::Guarantee, ImportValue::Date, false, 0, {"Гарантия", "Warranty", "Дата гарантии", "Warranty date"}),
        field(T::Price, ImportValue::Money, false, 0, {"Цена", "Price", "Стоимость"}),
        field(T::Naim, ImportValue::Text, true, 255, {"Наименование", "Name"}),
        field(T::Inv, ImportValue::Text, false, 255, {"Инвентарный", "Inventory", "Инвентарный №", "Inventory number"}),
        field(T::Mesto, ImportValue::Text, false, 255, {"Место", "Place", "A place"}),
    };
    static const QList<ImportField> recipients = {
        field(U::ID_User, ImportValue::Code, false, 16, {"ID получателя", "ID user", "Код", "Code"}),
        field(U::FIO, ImportValue::Text, true, 255, {"ФИО", "Name", "Full name"}),
        field(U::Phone, ImportValue::Text, false, 255, {"Телефон", "Phone number", "Phone"}),
        field(U::Organization, ImportValue::Text, false, 255, {"Организация", "Company"}),
        field(U::Otdel, ImportValue::Text, false, 255, {"Отдел", "Department"}),
        field(U::Shef_FIO, ImportValue::Text, false, 255, {"ФИО руководителя", "Supervisor"}),
        field(U::Shef_Phone, ImportValue::Text, false, 255, {"Тел. руководителя", "Supervisor phone"}),
    };
    return kind == ImportKind::Tools ? tools : recipients;
}

QList<int> matchColumns(ImportKind kind, const QStringList& headings)
{
    const QList<ImportField>& fields = importFields(kind);
    QList<int> match;
    QList<bool> taken(fields.size(), false);
    for (const QString& heading : headings) {
        const QString h = folded(heading);
        int found = -1;
        for (int f = 0; f < fields.size() && found < 0 && !h.isEmpty(); ++f) {
            if (taken.at(f))
                continue;
            for (const QString& name : fields.at(f).headings) {
                if (folded(name) == h) {
                    found = f;
                    break;
                }
            }
        }
        if (found >= 0)
            taken[found] = true;
        match << found;
    }
    return match;
}
