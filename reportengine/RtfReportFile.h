#pragma once

#include "ExportResult.h"
#include "platform/WrittenFileOpener.h"

#include <QString>

class QWidget;
class TfrxReport;
class WorkProgress;
struct Platform;

// Writes a built report as an RTF file as the windows do: the folder made
// when missing, an existing file replaced only when the user agrees to
// replaceQuestion (its %1 is the file), and the written file opened in the
// program the desktop gives RTF (or, without one, where it was written is
// said with openTexts, its folder offered). Throws FileWriteError when it cannot be
// written, WorkCancelled when progress was cancelled; the earlier file of that
// name then stays as it was.
ExportResult writeAndOpenRtf(TfrxReport& report, const QString& file, const QString& replaceQuestion,
                             Platform& platform, QWidget* parent, const WrittenFileOpener::Texts& openTexts,
                             WorkProgress* progress = nullptr);
