#pragma once

class QWidget;

// What the desk needs to know and do about the desktop's windows.
class WindowManager
{
public:
    virtual ~WindowManager() = default;
    // No window of this program has the keyboard focus.
    virtual bool applicationInBackground() const = 0;
    virtual bool isMinimised(const QWidget* window) const = 0;
    // Minimises the other programs' visible, titled main windows.
    virtual void minimiseOthers(const QWidget* own) = 0;
    // Brings the window back from the task bar and to the front.
    virtual void restore(QWidget* window) = 0;
};
