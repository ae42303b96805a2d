#pragma once

#include <QList>
#include <QString>

// The program's own texts shown in message boxes, prompts and captions, in
// the current language. The three captions hold their Russian text from the
// start; the language switch sets all of them.
struct Messages {
    QString rsCaptionMain = QStringLiteral("Выдача инструмента");
    QString rsCaptionReadOnly = QStringLiteral(
        "Выдача инструмента | РЕДАКТИРОВАНИЕ ЗАПРЕЩЕНО, ОБРАТИТЕСЬ К АДМИНИСТРАТОРУ!");
    QString rsCaptionAdmin = QStringLiteral("Выдача инструмента | АДМИНИСТРАТОР");
    QString rsIssueHeading;
    QString rsBatchIssueHeading;
    QString rsBatchIssue;
    QString rsFinish;
    QString rsConfigNotFound;
    QString rsIssuedToOther;
    QString rsNotePrefix;
    QString rsManualIssueDone;
    QString rsUserIDNotFound;
    QString rsToolWrittenOff;
    QString rsWrongPassword;
    QString rsPasswordChanged;
    QString rsNewPassword;
    QString rsPasswordNotChanged;
    QString rsPriceNotNumber;
    QString rsDellConfirm;
    QString rsIDnotFound;
    QString rsToolIDTaken;
    QString rsUserIDTaken;
    QString rsDuplicateSerial;
    QString rsDeleteImageConfirm;
    QString rsReturnConfirm;
    QString rsReturnedByOperator;
    QString rsRequestError;
    QString rsNewAktConfirm;
    QString rsToolOnHandNoAkt;
    QString rsToolWrittenOffNoAkt;
    QString rsAktToolsOnHand;
    QString rsWriteOffAllConfirm;
    QString rsAktTemplateNotFound;
    QString rsAktNotFound;
    QString rsCodeNotFound;
    QString rsToolWrittenOffCode;
    QString rsEventNotRecorded;
    QString rsCauseBusy;
    QString rsCauseDiskFull;
    QString rsCauseReadOnly;
    QString rsCauseOther;
    QString rsCauseConnectionLost;
    QString rsDbNotFound;
    QString rsDbEmpty;
    QString rsDbNotDatabase;
    QString rsDbReadOnlyFile;
    QString rsDbReadOnlyFolder;
    QString rsDbDiskFull;
    QString rsDbBusy;
    QString rsDbServerUnreachable;
    QString rsBackupDone;
    QString rsBackupFailed;
    QString rsCannotOpenFile;
    QString rsUserHoldsTools;
    QString rsReplaceFile;
    QString rsSaveReport;
    QString rsSaveAsPdf;
    QString rsExportToRtf;
    QString rsScanNotTaken;
    QString rsNoDatabaseConnection;
    QString rsCauseCorrupt;
    QString rsDbCorrupt;
    QString rsDatabaseFailing;
    QString rsLogFileRecovered;
    QString rsLogFileLost;
    // Files that were not written, and why.
    QString rsReportNotWritten;
    QString rsReportWritten;
    QString rsFileDiskFull;
    QString rsFileNoPermission;
    QString rsFileFolderMissing;
    QString rsFileNotAFolder;
    QString rsFileNotRegular;
    QString rsFileIsDatabase;
    QString rsFileCheckFailed;
    QString rsFileOther;
    QString rsBackupDamaged;
    QString rsActNotWrittenOff;
    QString rsActWrittenOffNoDocument;
    QString rsActDocumentAgain;
    QString rsNoRecipientCode;
    QString rsDbOpenFailed;
    QString rsDbSettingEngine;
    QString rsDbSettingPort;
    QString rsDbSettingName;
    QString rsDbSettingSslMode;
    QString rsDbSettingCharacters;
    QString rsDbNoPassword;
    QString rsPasswordFileMissing;
    QString rsPasswordFileOpen;
    QString rsPasswordFileNoLine;
    QString rsDbPermissionDenied;
    QString rsDbForeignTables;
    // Acts' document buttons, report preview and files no program opens.
    QString rsOpenActDocument;
    QString rsRemakeActDocument;
    QString rsHistoryReportName;
    QString rsReportRange;
    QString rsPdfFiles;
    QString rsRtfFiles;
    QString rsWrittenNotOpened;
    QString rsOpenFolder;
    QString rsFolderNotOpened;
    // Keyboard, screen readers, file choosers, the delivered password.
    QString rsBatchSecondsLeft;
    QString rsPictureFiles;
    QString rsAllFiles;
    QString rsDeliveredPasswordInUse;
    QString rsLabelsWritten;
    QString rsLabelsNotWritten;
    QString rsLabelNotAscii;
    QString rsLabelNotEncoded;
    QString rsLabelDoesNotFit;
    QString rsLabelCodeNotFound;
    QString rsLabelUnknownLayout;
    QString rsLabelLayoutBadLine;
    QString rsLabelLayoutOffPage;
    QString rsLabelLayoutFile;
    QString rsLabelNothing;
    QString rsLabelLayoutsHeading;
    QString rsCodeIsPlaceLabel;
    // The labels window.
    QString rsLabelsFileName;
    QString rsLabelsNoCodesTyped;
    QString rsLabelsNoneChosen;
    QString rsLabelsPreviewTitle;
    // Codes that begin with the place labels' prefix, told at start.
    QString rsPlacePrefixInUse;
    QString rsChoosePlacePrefix;
    QString rsPlacePrefixTitle;
    QString rsNewPlacePrefix;
    QString rsPlacePrefixEmpty;
    QString rsPlacePrefixUnfit;
    QString rsPlacePrefixAlsoUsed;
    QString rsPlacePrefixChanged;
    QString rsPlacePrefixNotSaved;
    // The Data folder in use (DataFolder).
    QString rsDataFolderMissing;
    QString rsDataFolderNotFolder;
    QString rsDataTemplateMissing;
    QString rsDataFolderNotMade;
    // The registers' export to CSV and Excel.
    QString rsExportTitle;
    QString rsExportFilter;
    QString rsExportStage;
    QString rsExportWritten;
    QString rsExportNotWritten;
    QString rsExportCancelled;
    QString rsExportUnknownFormat;
    QString rsExportTooManyRows;
    // Import of tools and recipients from CSV and XLSX.
    QString rsImportFileUnreadable;
    QString rsImportFileTooLarge;
    QString rsImportNotSpreadsheet;
    QString rsImportUnclosedQuote;
    QString rsImportNoHeadings;
    QString rsImportXlsxBroken;
    QString rsImportPartMissing;
    QString rsImportNew;
    QString rsImportNewGenerated;
    QString rsImportUpdate;
    QString rsImportSkip;
    QString rsImportRefused;
    QString rsImportRowTooLong;
    QString rsImportValueTooLong;
    QString rsImportBadDate;
    QString rsImportBadPrice;
    QString rsImportRequired;
    QString rsImportWrittenOff;
    QString rsImportCodeIsRecipient;
    QString rsImportCodeIsTool;
    QString rsImportGeneratedTaken;
    QString rsImportSerialTaken;
    QString rsImportCodeTwice;
    QString rsImportSerialTwice;
    QString rsImportStagePreview;
    QString rsImportStageWrite;
    QString rsImportCancelled;
    QString rsImportRefusedRows;
    QString rsImportChangedMeanwhile;
    QString rsImportPhotoFailed;
    QString rsImportDone;
    QString rsImportNotWritten;
    QString rsImportNewEntries;
    QString rsImportPictureNotKept;
    QString rsImportColumnIgnored;
    QString rsImportTitleTools;
    QString rsImportTitleRecipients;
    QString rsImportChooseFile;
    QString rsImportSpreadsheets;
    // Progress of long work.
    QString rsProgressBuildingReport;
    QString rsProgressWriting;
    QString rsProgressBackup;
    QString rsProgressCopyTable;
    QString rsProgressRows;
    QString rsProgressPages;
    // Tools out and overdue.
    QString rsOverdueTools;
    QString rsOverdueTool;
    QString rsToolsOutReportName;
    QString rsOverdueReportName;
    QString rsToolsOutCount;
    QString rsToolsOutNoCard;
    QString rsLoanDaysNotNumber;
};

// One message in both languages.
struct MessageText {
    const char* name;
    QString Messages::*field;
    const char* ru;
    const char* en;
};

// Every message, once.
const QList<MessageText>& messageTexts();

// Sets every message to its text in one language.
void setMessages(Messages& texts, bool russian);

// The count label of the tool and recipient lists, in one language.
QString recordCountText(bool russian, int count);

// Shown before any language can be read: the settings file is missing.
inline const QString kConfigNotFoundRu = QStringLiteral("Не найден файл конфигурации, обратитесь к администратору");
