#pragma once

#include <QString>
#include <optional>

class QDialog;
class QWidget;

// Message boxes and the small standard dialogs. Tests answer them through a fake.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A plain message with an OK button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // An error report: a failure's own text.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A message with OK and one more button, action; true when that button is pressed.
    virtual bool offer(QWidget* parent, const QString& text, const QString& action) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // A one-line input; nothing when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& title, const QString& prompt,
                                         const QString& initial) = 0;
    // The open-picture dialog offering filter, started in folder (empty: the
    // dialog's own start); an empty text when cancelled.
    virtual QString openPicture(QWidget* parent, const QString& filter, const QString& folder) = 0;
    // The save-file dialog offering suggested (a path) and, when given, the
    // name filter ("PDF (*.pdf)"); an empty text when cancelled.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& suggested,
                             const QString& filter = QString()) = 0;
    // Shows one of the program's own windows modally until it closes.
    virtual void showModal(QDialog& window) = 0;
};
