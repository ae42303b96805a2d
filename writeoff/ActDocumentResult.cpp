#include "ActDocumentResult.h"

#include <QDir>

QString actDocumentErrorText(ActDocumentError kind, bool russian, int row)
{
    switch (kind) {
    case ActDocumentError::None:
        return {};
    case ActDocumentError::TemplateNotFound:
        return russian ? QStringLiteral("Шаблон АКТ-а списания не найден")
                       : QStringLiteral("Write-off ACT template not found");
    case ActDocumentError::NotDocx:
        return russian ? QStringLiteral("Шаблон АКТ-а списания не является документом Word (.docx)")
                       : QStringLiteral("The write-off ACT template is not a Word document (.docx)");
    case ActDocumentError::NoMainText:
        return russian ? QStringLiteral("В шаблоне АКТ-а списания нет основного текста (word/document.xml)")
                       : QStringLiteral("The write-off ACT template has no main text (word/document.xml)");
    case ActDocumentError::BadXml:
        return russian ? QStringLiteral("Шаблон АКТ-а списания повреждён: его XML не читается")
                       : QStringLiteral("The write-off ACT template is damaged: its XML cannot be read");
    case ActDocumentError::NoTable:
        return russian ? QStringLiteral("В шаблоне АКТ-а списания нет таблицы")
                       : QStringLiteral("The write-off ACT template has no table");
    case ActDocumentError::ShortRow:
        return russian
            ? QStringLiteral("В строке %1 первой таблицы шаблона АКТ-а списания меньше пяти ячеек").arg(row)
            : QStringLiteral("Row %1 of the first table of the write-off ACT template has fewer than five cells")
                  .arg(row);
    case ActDocumentError::CannotWrite:
        return russian ? QStringLiteral("Не удалось записать документ АКТ-а списания")
                       : QStringLiteral("The write-off ACT document cannot be written");
    }
    return {};
}

QString ActDocumentResult::message(bool russian) const
{
    QString text = actDocumentErrorText(error, russian, row);
    if (text.isEmpty())
        return text;
    if (!file.isEmpty())
        text += QStringLiteral(":\n") + QDir::toNativeSeparators(file);
    if (!detail.isEmpty())
        text += QLatin1Char('\n') + detail;
    return text;
}
