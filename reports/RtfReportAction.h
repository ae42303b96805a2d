#pragma once

#include <QString>
#include <functional>

class QWidget;
class Session;
class TfrxReport;
class WorkProgress;
struct Platform;

// A window's report written straight to an RTF file: build(progress) builds
// it, then it is written to file and opened as the windows do. Each step
// shows its progress with a cancel button over parent (a cancel leaves no
// file); a file that cannot be written is told over parent.
void buildAndWriteRtf(QWidget* parent, Session& session, Platform& platform, const QString& file,
                      const std::function<TfrxReport&(WorkProgress& progress)>& build);
