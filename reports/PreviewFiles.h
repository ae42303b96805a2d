#pragma once

#include <QString>

class ReportPreview;
class Session;
struct Platform;

// How a report preview of the program writes its files: proposed in the
// Reports folder under the report's name and the time, the chooser starting
// in the last folder saved to, an existing file replaced only after a
// question, a failure named, a written RTF opened, and the writing shown with
// a cancel button. title heads the preview window.
void setPreviewFiles(ReportPreview& preview, Session& session, Platform& platform, const QString& title,
                     const QString& name);
