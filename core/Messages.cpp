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
    MSG(rsToolWrittenOff, "Инструмент списан!", "The tool is written off!"),
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
    MSG(rsCodeNotFound, "Код не найден: ", "Code not found: "),
    MSG(rsToolWrittenOffCode, "Инструмент списан: ", "The tool is written off: "),
    MSG(rsEventNotRecorded, "Выдача или возврат НЕ записаны: %1", "The issue or return was NOT recorded: %1"),
    MSG(rsCauseBusy, "база данных занята на другом рабочем месте. Повторите сканирование.",
        "the database is busy at another desk. Scan the pair again."),
    MSG(rsCauseDiskFull, "диск заполнен.", "the disk is full."),
    MSG(rsCauseReadOnly, "нет права записи в базу данных.", "no permission to write to the database."),
    MSG(rsCauseOther, "ошибка базы данных.", "a database error."),
    MSG(rsCauseConnectionLost, "потеряна связь с сервером базы данных. Повторите сканирование.",
        "the connection to the database server was lost. Scan the pair again."),
    MSG(rsDbNotFound, "Файл базы данных не найден: %1", "The database file was not found: %1"),
    MSG(rsDbEmpty, "Файл базы данных пуст (0 байт): %1", "The database file is empty (0 bytes): %1"),
    MSG(rsDbNotDatabase, "Файл не является базой данных программы: %1",
        "The file is not a database of the program: %1"),
    MSG(rsDbReadOnlyFile, "Нет права записи в файл базы данных: %1", "No permission to write to the database file: %1"),
    MSG(rsDbReadOnlyFolder, "Нет права записи в папку базы данных: %1",
        "No permission to write to the database folder: %1"),
    MSG(rsDbDiskFull, "Диск заполнен, база данных не может быть открыта: %1",
        "The disk is full, the database cannot be opened: %1"),
    MSG(rsDbBusy, "База данных занята другой программой: %1", "The database is held by another program: %1"),
    MSG(rsDbServerUnreachable, "Нет связи с сервером базы данных или вход отклонен (пользователь@сервер:порт/база): %1",
        "The database server cannot be reached or refused the login (user@host:port/database): %1"),
    MSG(rsBackupDone, "Резервная копия базы данных записана: %1", "The database backup has been written: %1"),
    MSG(rsCannotOpenFile, "Не удалось открыть файл (нет программы для него?): %1",
        "The file could not be opened (no program for it?): %1"),
    MSG(rsBackupFailed, "Резервная копия НЕ записана: %1", "The backup was NOT written: %1"),
    MSG(rsUserHoldsTools, "Получатель не может быть удален: у него на руках инструмент (%1 шт.)",
        "The user cannot be deleted: they still hold tools (%1)"),
    MSG(rsReplaceFile, "Файл %1 уже существует. Заменить его?", "%1 already exists. Replace it?"),
    MSG(rsSaveReport, "Сохранить отчет", "Save the report"),
    MSG(rsSaveAsPdf, "Сохранить в PDF", "Save as PDF"),
    MSG(rsExportToRtf, "Экспорт в RTF", "Export to RTF"),
    MSG(rsScanNotTaken, "Код %1 НЕ принят, ничего не записано: %2",
        "The code %1 was NOT taken, nothing was recorded: %2"),
    MSG(rsNoDatabaseConnection, "нет связи с сервером базы данных: события не записываются",
        "no connection to the database server: events are not being recorded"),
    MSG(rsCauseCorrupt, "файл базы данных повреждён. Сообщите администратору.",
        "the database file is damaged. Tell the administrator."),
    MSG(rsDbCorrupt,
        "Файл базы данных повреждён: %1\nВосстановите его из резервной копии (закройте программу, скопируйте "
        "копию на место файла) или проверьте его командой sqlite3 с PRAGMA integrity_check.",
        "The database file is damaged: %1\nRestore it from a backup (close the program, copy the backup over the "
        "file) or check it with the sqlite3 shell and PRAGMA integrity_check."),
    MSG(rsDatabaseFailing, "база данных %1 не отвечает, события не записываются: %2",
        "the database %1 does not answer, events are not being recorded: %2"),
    MSG(rsLogFileRecovered,
        "Файл журнала %1 был удалён во время работы: все события перенесены в файл базы данных, база открыта "
        "заново.",
        "The log file %1 was deleted while the program ran: every event has been written into the database file, "
        "and the database has been opened again."),
    MSG(rsLogFileLost,
        "Файл журнала %1 был удалён во время работы, и события не удалось перенести в файл базы данных: не "
        "закрывайте программу, повторная попытка через секунду.",
        "The log file %1 was deleted while the program ran, and its events could not yet be written into the "
        "database file: do not close the program, it tries again in a second."),
    MSG(rsReportNotWritten, "Отчет НЕ записан: %1", "The report was NOT written: %1"),
    MSG(rsReportWritten, "Отчет записан: %1", "The report has been written: %1"),
    MSG(rsFileDiskFull, "Диск заполнен. Освободите место на диске или выберите другой диск и повторите.",
        "The disk is full. Free some space on it or choose another disk, then try again."),
    MSG(rsFileNoPermission,
        "Нет права записи: %1. Выберите другую папку или попросите администратора дать право записи.",
        "No permission to write: %1. Choose another folder or ask the administrator for write permission."),
    MSG(rsFileFolderMissing, "Папка не найдена: %1. Создайте ее или выберите другую папку.",
        "The folder does not exist: %1. Create it or choose another folder."),
    MSG(rsFileNotAFolder,
        "На месте папки находится файл: %1. Переименуйте или уберите этот файл либо выберите другую папку.",
        "A file stands where a folder is needed: %1. Rename or move that file, or choose another folder."),
    MSG(rsFileNotRegular, "Это не обычный файл (устройство, канал или папка): %1. Выберите другое имя файла.",
        "This is not an ordinary file (a device, a pipe or a folder): %1. Choose another file name."),
    MSG(rsFileIsDatabase, "Резервная копия не может заменить саму базу данных: %1. Выберите другое имя файла.",
        "A backup cannot replace the database it copies: %1. Choose another file name."),
    MSG(rsFileCheckFailed, "Записанный файл не прошел проверку, прежний файл не тронут. Повторите попытку.",
        "The written file failed its check; the earlier file is untouched. Try again."),
    MSG(rsFileOther, "Ошибка записи файла, прежний файл не тронут.",
        "The file could not be written; the earlier file is untouched."),
    MSG(rsBackupDamaged,
        "Копия не прошла проверку целостности: база данных повреждена. Прежняя резервная копия не тронута. "
        "Проверьте базу данных программой sqlite3 (PRAGMA integrity_check) и восстановите ее из исправной копии.",
        "The copy failed the integrity check: the database is damaged. The earlier backup is untouched. "
        "Check the database with the sqlite3 program (PRAGMA integrity_check) and restore it from a sound copy."),
    MSG(rsActNotWrittenOff, "АКТ №%1 НЕ списан, ничего не изменено.",
        "ACT №%1 was NOT written off, nothing was changed."),
    MSG(rsActWrittenOffNoDocument, "АКТ №%1 списан, но его документ НЕ сформирован: %2",
        "ACT №%1 IS written off, but its document was NOT made: %2"),
    MSG(rsActDocumentAgain, "Устраните причину и нажмите «Документ», чтобы сформировать документ снова.",
        "Mend the cause and press \"Document\" to make the document again."),
    MSG(rsNoRecipientCode, "Нет получателя с кодом %1: ничего не записано.",
        "No recipient has the code %1; nothing was written."),
    MSG(rsDbOpenFailed, "База данных не может быть открыта или обновлена: %1",
        "The database cannot be opened or brought up to date: %1"),
    MSG(rsDbSettingEngine,
        "Параметр %2 в разделе [DATABASE] файла настроек %1 не распознан: программа работает с Engine=SQLite "
        "(файл Data/DB.mdb) или Engine=PostgreSQL. Исправьте его или удалите раздел [DATABASE].",
        "The setting %2 in the [DATABASE] section of the settings file %1 is not known: the program works with "
        "Engine=SQLite (the file Data/DB.mdb) or Engine=PostgreSQL. Correct it or remove the [DATABASE] section."),
    MSG(rsDbSettingPort,
        "Параметр %2 в разделе [DATABASE] файла настроек %1 не является номером порта: нужно число от 1 до 65535 "
        "(без строки Port берется 5432). Исправьте его.",
        "The setting %2 in the [DATABASE] section of the settings file %1 is not a port number: it takes a number "
        "from 1 to 65535 (without the Port line, 5432). Correct it."),
    MSG(rsDbSettingName,
        "В разделе [DATABASE] файла настроек %1 строка %2 пуста или ее нет: укажите в ней базу данных на сервере "
        "(Name=<имя базы данных>).",
        "The [DATABASE] section of the settings file %1 has an empty or no %2 line: name the database on the server "
        "there (Name=<database name>)."),
    MSG(rsDbSettingSslMode,
        "Параметр %2 в разделе [DATABASE] файла настроек %1 не распознан: SSLMode принимает disable, allow, prefer, "
        "require, verify-ca или verify-full. Исправьте его.",
        "The setting %2 in the [DATABASE] section of the settings file %1 is not known: SSLMode takes disable, "
        "allow, prefer, require, verify-ca or verify-full. Correct it."),
    MSG(rsDbSettingCharacters,
        "Параметр %2 в разделе [DATABASE] файла настроек %1 содержит недопустимый знак: значения Host, Name и User "
        "не могут содержать ; = ' или \\. Исправьте его.",
        "The setting %2 in the [DATABASE] section of the settings file %1 holds a character it may not: the values "
        "of Host, Name and User may not hold ; = ' or \\. Correct it."),
    MSG(rsDbNoPassword,
        "Сервер базы данных требует пароль, но пароль не найден (пользователь@сервер:порт/база): %1. %2 Пароль "
        "берется из файла паролей пользователя, запускающего программу (~/.pgpass или файл, указанный в "
        "PGPASSFILE): строка сервер:порт:база:пользователь:пароль, права 0600.",
        "The database server asks for a password, and none was found (user@host:port/database): %1. %2 The "
        "password is read from the password file of the user who runs the program (~/.pgpass or the file "
        "PGPASSFILE names): a line host:port:database:user:password, mode 0600."),
    MSG(rsPasswordFileMissing, "Файл паролей %1 не найден.", "The password file %1 was not found."),
    MSG(rsPasswordFileOpen,
        "Файл паролей %1 доступен группе или другим пользователям, поэтому не читается: выполните chmod 600 %1.",
        "The password file %1 is open to the group or to other users, so it is ignored: run chmod 600 %1."),
    MSG(rsPasswordFileNoLine,
        "В файле паролей %1 нет строки для этого сервера, базы и пользователя (или файл не читается).",
        "The password file %1 has no line for this server, database and user (or cannot be read)."),
    MSG(rsDbPermissionDenied,
        "Роли базы данных не хватает прав на сервере (пользователь@сервер:порт/база): %1. Программа создает "
        "таблицы и записывает строки: администратор сервера должен сделать роль владельцем базы данных или выдать "
        "ей эти права; сервер, который только читает, не подходит.",
        "The database role lacks rights on the server (user@host:port/database): %1. The program creates tables "
        "and writes rows: the server's administrator must make the role the owner of the database or grant it "
        "these rights; a server that only reads will not do."),
    MSG(rsDbForeignTables,
        "База данных на сервере (пользователь@сервер:порт/база) %1 не является базой программы: в ней нет таблиц "
        "%2, а есть другие: %3. Укажите в строке Name раздела [DATABASE] файла Config.ini пустую базу данных "
        "(программа создаст в ней свои таблицы) или базу данных программы.",
        "The database on the server (user@host:port/database) %1 is not the program's: it lacks the tables %2 and "
        "holds others: %3. Name in the Name line of the [DATABASE] section of Config.ini an empty database (the "
        "program lays out its tables in it) or the program's database."),
    MSG(rsOpenActDocument, "Открыть документ АКТ-а", "Open the ACT document"),
    MSG(rsRemakeActDocument, "Сформировать документ АКТ-а заново", "Make the ACT document anew"),
    MSG(rsHistoryReportName, "История выдачи инструмента", "Tool Issue History"),
    MSG(rsReportRange, "%1 с %2 по %3", "%1 from %2 to %3"),
    MSG(rsPdfFiles, "Документы PDF (*.pdf)", "PDF documents (*.pdf)"),
    MSG(rsRtfFiles, "Документы RTF (*.rtf)", "RTF documents (*.rtf)"),
    MSG(rsWrittenNotOpened, "Файл записан, но открыть его нечем: нет программы для файлов этого типа.\n%1",
        "The file was written, but nothing opens it: there is no program for files of this type.\n%1"),
    MSG(rsOpenFolder, "Открыть папку", "Open folder"),
    MSG(rsFolderNotOpened, "Папку открыть тоже не удалось. Файл записан сюда:\n%1",
        "The folder could not be opened either. The file was written here:\n%1"),
    // Keyboard, screen readers, file choosers, the delivered password.
    MSG(rsBatchSecondsLeft, "Секунд до конца пакетной выдачи", "Seconds until the batch issue ends"),
    MSG(rsPictureFiles, "Изображение", "Image"),
    MSG(rsAllFiles, "Все файлы", "All files"),
    MSG(rsDeliveredPasswordInUse,
        "Пароль администратора все еще тот, с которым программа поставлена. Смените его: при входе отметьте "
        "«Изменить пароль», введите текущий пароль и нажмите «Администратор».",
        "The administrator password is still the one the program was delivered with. Change it: at sign-in tick "
        "\"Change Password\", enter the current password and press \"Administrator\"."),
    MSG(rsLabelsWritten, "Этикетки записаны: %1 (этикеток: %2, страниц: %3)",
        "The labels have been written: %1 (%2 labels, %3 pages)"),
    MSG(rsLabelsNotWritten, "Этикетки НЕ записаны: %1", "The labels were NOT written: %1"),
    MSG(rsLabelNotAscii,
        "Код %1 содержит знаки, которые Code 128 не передает (только ASCII): выберите QR Code или Data Matrix либо "
        "дайте коду латинские буквы и цифры; большинство сканеров надежно вводят только ASCII.",
        "The code %1 holds characters Code 128 cannot carry (ASCII only): choose QR Code or Data Matrix, or give "
        "it an ASCII code; most scanners type only ASCII reliably."),
    MSG(rsLabelNotEncoded, "Код %1 не кодируется символом %2: %3. Выберите другой символ или более короткий код.",
        "The code %1 cannot be encoded as %2: %3. Choose another symbol or a shorter code."),
    MSG(rsLabelDoesNotFit,
        "Код %1 не помещается на этикетку %2 символом %3 при ширине модуля не менее %4 мм: выберите этикетку "
        "больше, двумерный символ (QR Code, Data Matrix) или более короткий код.",
        "The code %1 does not fit the label %2 as %3 with modules of at least %4 mm: choose a larger label, a 2D "
        "symbol (QR Code, Data Matrix) or a shorter code."),
    MSG(rsLabelCodeNotFound, "Код не найден: %1", "Code not found: %1"),
    MSG(rsLabelUnknownLayout, "Нет такого макета этикеток: %1. Макеты: %2", "There is no label layout %1. Layouts: %2"),
    MSG(rsLabelLayoutBadLine,
        "%1, строка %2: \"%3\" не понято. Пишите: ИМЯ page=ШxВ label=ШxВ [grid=СТОЛБЦЫxСТРОКИ] [margins=СЛЕВА,СВЕРХУ] "
        "[gaps=ПОПЕРЕК,ВНИЗ] [module=ММ], размеры в мм.",
        "%1, line %2: \"%3\" is not understood. Write: NAME page=WxH label=WxH [grid=COLUMNSxROWS] "
        "[margins=LEFT,TOP] [gaps=ACROSS,DOWN] [module=MM], sizes in mm."),
    MSG(rsLabelLayoutOffPage, "%1, строка %2: этикетки макета %3 выходят за края страницы.",
        "%1, line %2: the labels of the layout %3 go past the edges of its page."),
    MSG(rsLabelLayoutFile, "Файл макетов этикеток не читается: %1", "The label layout file cannot be read: %1"),
    MSG(rsLabelNothing, "Нет этикеток для печати.", "There are no labels to print."),
    MSG(rsLabelLayoutsHeading, "Макеты этикеток (имя, этикетка мм, столбцы x строки, страница мм):",
        "Label layouts (name, label mm, columns x rows, page mm):"),
    MSG(rsCodeIsPlaceLabel,
        "Код %1 начинается с %2, как коды этикеток мест хранения: сканер примет его за место. Выберите другой код.",
        "The code %1 begins with %2, as the codes of place labels do: a scanner would take it for a place. Choose "
        "another code."),
    // The labels window.
    MSG(rsLabelsFileName, "Этикетки", "Labels"),
    MSG(rsLabelsNoCodesTyped, "Введите коды через запятую или выберите другие этикетки.",
        "Type the codes, separated by commas, or choose other labels."),
    MSG(rsLabelsNoneChosen, "Нет выбранной строки: выберите ее в списке или другие этикетки.",
        "No row is chosen: choose one in the list, or other labels."),
    MSG(rsLabelsPreviewTitle, "Этикетки %1: печатайте в масштабе 100 %", "Labels %1: print at 100 %"),
    // Codes that begin with the place labels' prefix, told at start.
    MSG(rsPlacePrefixInUse,
        "Коды этикеток мест хранения начинаются с %1, и с него же начинаются коды инструментов или сотрудников (%2 "
        "шт.): %3. Сканер примет такой код за место. Выберите другой префикс этикеток мест или дайте этим "
        "инструментам и сотрудникам другие коды.",
        "Place label codes begin with %1, and so do codes of tools or workers (%2 of them): %3. A scanner would take "
        "such a code for a place. Choose another prefix for place labels, or give these tools and workers other "
        "codes."),
    MSG(rsChoosePlacePrefix, "Выбрать другой префикс", "Choose another prefix"),
    MSG(rsPlacePrefixTitle, "Префикс этикеток мест", "Place label prefix"),
    MSG(rsNewPlacePrefix,
        "Новый префикс кодов этикеток мест (сейчас %1):", "New prefix of place label codes (now %1):"),
    MSG(rsPlacePrefixEmpty, "Префикс не может быть пустым: без него код места не отличить от кода инструмента.",
        "The prefix cannot be empty: without it a place's code cannot be told from a tool's."),
    MSG(rsPlacePrefixUnfit,
        "Префикс %1 не подходит: не более %2 знаков, без пробелов и запятых, чтобы код места с номером помещался в "
        "поле ввода и в список кодов через запятую.",
        "The prefix %1 does not fit: at most %2 characters, with no blanks or commas, so that a place's code with its "
        "number fits the entry box and a list of codes separated by commas."),
    MSG(rsPlacePrefixAlsoUsed, "С %1 тоже начинаются коды: %2. Выберите другой префикс.",
        "Codes begin with %1 as well: %2. Choose another prefix."),
    MSG(rsPlacePrefixChanged,
        "Коды этикеток мест теперь начинаются с %1. Этикетки мест, напечатанные с %2, напечатайте заново.",
        "Place label codes now begin with %1. Print again the place labels printed with %2."),
    MSG(rsPlacePrefixNotSaved, "Новый префикс не удалось записать в %1: префикс остается %2.",
        "The new prefix could not be written to %1: the prefix stays %2."),
    // The Data folder in use.
    MSG(rsDataFolderMissing,
        "Папка данных %1 не существует. Укажите существующую папку или создайте ее копией шаблона %2.",
        "The Data folder %1 does not exist. Name an existing folder, or make it as a copy of the template %2."),
    MSG(rsDataFolderNotFolder, "Папка данных %1 — это файл, а не папка.",
        "The Data folder %1 is a file, not a folder."),
    MSG(rsDataTemplateMissing,
        "Папка данных %1 не создана: шаблон %2 не найден или неполон (нет DB.mdb). Переустановите программу.",
        "The Data folder %1 was NOT made: the template %2 is missing or incomplete (no DB.mdb). Install the program "
        "again."),
    MSG(rsDataFolderNotMade, "Папка данных %1 НЕ создана из шаблона %2: не удалось записать %3.",
        "The Data folder %1 was NOT made from the template %2: %3 could not be written."),
    // The registers' export to CSV and Excel.
    MSG(rsExportTitle, "Экспорт списка", "Export of the list"),
    MSG(rsExportFilter, "Excel (*.xlsx);;CSV (*.csv)", "Excel (*.xlsx);;CSV (*.csv)"),
    MSG(rsExportStage, "Запись %1", "Writing %1"),
    MSG(rsExportWritten, "Записан файл %1: строк %2.", "%1 written: %2 rows."),
    MSG(rsExportNotWritten, "Файл НЕ записан: %1", "The file was NOT written: %1"),
    MSG(rsExportCancelled, "Экспорт прерван: файл %1 НЕ записан, прежний файл с этим именем не изменен.",
        "Export cancelled: %1 was NOT written; an earlier file of that name is as it was."),
    MSG(rsExportUnknownFormat, "Файл %1 не CSV и не Excel: дайте имя, оканчивающееся на .csv или .xlsx.",
        "%1 is neither CSV nor Excel: give a name ending in .csv or .xlsx."),
    MSG(rsExportTooManyRows, "В списке больше %1 строк, а лист Excel больше не вмещает. Сузьте поиск или выберите CSV.",
        "The list has more than %1 rows, more than an Excel sheet holds. Narrow the search or choose CSV."),
    // Import of tools and recipients from CSV and XLSX.
    MSG(rsImportFileUnreadable, "Файл %1 не читается: %2", "The file %1 cannot be read: %2"),
    MSG(rsImportFileTooLarge, "файл больше 256 МБ", "the file is larger than 256 MB"),
    MSG(rsImportNotSpreadsheet, "это не таблица CSV и не книга XLSX (старый формат XLS сохраните как XLSX)",
        "this is neither a CSV table nor an XLSX workbook (save an old XLS file as XLSX)"),
    MSG(rsImportUnclosedQuote, "кавычка, открытая в строке %1, не закрыта до конца файла",
        "the quote opened on line %1 is never closed"),
    MSG(rsImportNoHeadings, "в файле нет строки заголовков", "the file has no row of headings"),
    MSG(rsImportXlsxBroken, "книга XLSX повреждена (%1): %2", "the XLSX workbook is damaged (%1): %2"),
    MSG(rsImportPartMissing, "части нет в архиве", "the part is missing from the archive"),
    MSG(rsImportNew, "новая", "new"),
    MSG(rsImportNewGenerated, "новая, код создан", "new, code generated"),
    MSG(rsImportUpdate, "обновление", "update"),
    MSG(rsImportSkip, "пропуск: код уже есть", "skipped: the code exists"),
    MSG(rsImportRefused, "отказ", "refused"),
    MSG(rsImportRowTooLong, "в строке %1 значений, а заголовков %2",
        "the row holds %1 values but there are %2 headings"),
    MSG(rsImportValueTooLong, "%1 длиннее %2 знаков", "%1 is longer than %2 characters"),
    MSG(rsImportBadDate, "%1: «%2» не дата (пишите 31.12.2024 или 2024-12-31)",
        "%1: \"%2\" is not a date (write 2024-12-31 or 31.12.2024)"),
    MSG(rsImportBadPrice, "%1: «%2» не число", "%1: \"%2\" is not a number"),
    MSG(rsImportRequired, "не заполнено: %1", "empty: %1"),
    MSG(rsImportWrittenOff, "инструмент %1 списан", "the tool %1 is written off"),
    MSG(rsImportCodeIsRecipient, "код %1 уже у получателя", "the code %1 is a worker's already"),
    MSG(rsImportCodeIsTool, "код %1 уже у инструмента", "the code %1 is a tool's already"),
    MSG(rsImportGeneratedTaken, "созданный код %1 уже занят", "the generated code %1 is taken"),
    MSG(rsImportSerialTaken, "серийный номер %1 уже есть у другого инструмента",
        "the serial number %1 is another tool's already"),
    MSG(rsImportCodeTwice, "код %1 есть и в строке %2", "the code %1 is also on line %2"),
    MSG(rsImportSerialTwice, "серийный номер %1 есть и в строке %2", "the serial number %1 is also on line %2"),
    MSG(rsImportStagePreview, "Проверка строк", "Checking the rows"),
    MSG(rsImportStageWrite, "Запись строк", "Writing the rows"),
    MSG(rsImportCancelled, "импорт прерван", "the import was cancelled"),
    MSG(rsImportRefusedRows, "отклонено строк: %1", "rows refused: %1"),
    MSG(rsImportChangedMeanwhile, "данные изменились после проверки; проверьте файл еще раз",
        "the data changed after the check; check the file again"),
    MSG(rsImportPhotoFailed, "фото %1: %2", "photo %1: %2"),
    MSG(rsImportDone, "Импорт записан: новых %1, обновлено %2, пропущено %3",
        "The import has been written: %1 new, %2 updated, %3 skipped"),
    MSG(rsImportNotWritten, "Импорт НЕ записан, ничего не изменено: %1",
        "The import was NOT written, nothing has changed: %1"),
    MSG(rsImportNewEntries, "Будут добавлены в справочники: %1", "To be added to the dictionaries: %1"),
    MSG(rsImportPictureNotKept, "Строки записаны, но картинка не скопирована в папку инструмента: %1",
        "The rows were written, but a picture was not copied into its tool's folder: %1"),
    MSG(rsImportColumnIgnored, "(не импортируется)", "(not imported)"),
    MSG(rsImportTitleTools, "Импорт инструмента", "Import of tools"),
    MSG(rsImportTitleRecipients, "Импорт получателей", "Import of workers"),
    MSG(rsImportChooseFile, "Файл для импорта", "File to import"),
    MSG(rsImportSpreadsheets, "Таблицы (*.xlsx *.csv *.txt)", "Spreadsheets (*.xlsx *.csv *.txt)"),
    MSG(rsProgressBuildingReport, "Построение отчета", "Building the report"),
    MSG(rsProgressWriting, "Запись файла %1", "Writing %1"),
    MSG(rsProgressBackup, "Резервная копия базы данных в %1", "Backing up the database to %1"),
    MSG(rsProgressCopyTable, "Копирование таблицы %1", "Copying the table %1"),
    MSG(rsProgressRows, "%1: %2 из %3 строк, %4 строк/с", "%1: %2 of %3 rows, %4 rows/s"),
    MSG(rsProgressPages, "%1: %2 из %3 страниц базы данных, %4 страниц/с", "%1: %2 of %3 database pages, %4 pages/s"),
    // Tools out and overdue.
    MSG(rsOverdueTools, "Просрочено: %1 — %2", "Overdue: %1 — %2"),
    MSG(rsOverdueTool, "%1 с %2", "%1 since %2"),
    MSG(rsToolsOutReportName, "Выданный инструмент", "Tools out"),
    MSG(rsOverdueReportName, "Просроченный инструмент", "Overdue tools"),
    MSG(rsToolsOutCount, "выдано: %1, просрочено: %2", "out: %1, overdue: %2"),
    MSG(rsToolsOutNoCard, "Инструмент %1 больше не найден: список обновлен.",
        "The tool %1 is no longer there: the list has been read again."),
    MSG(rsLoanDaysNotNumber, "Срок выдачи — целое число дней, 0 или больше, или пусто.",
        "The loan period is a whole number of days, 0 or more, or empty."),
};
#undef MSG

} // namespace

const QList<MessageText>& messageTexts()
{
    return kMessages;
}

QString recordCountText(bool russian, int count)
{
    return (russian ? QStringLiteral("общее количество: %1") : QStringLiteral("total count: %1")).arg(count);
}

void setMessages(Messages& texts, bool russian)
{
    for (const MessageText& m : kMessages)
        texts.*(m.field) = QString::fromUtf8(russian ? m.ru : m.en);
}
