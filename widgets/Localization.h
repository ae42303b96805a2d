#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QWidget;

// The two interface text sets. Each row assigns one text to one target, in
// Russian and in English, so both sets always name the same targets.
class Localization
{
public:
    enum class Property {
        Title,       // window caption
        Caption,     // label, button, check box, group box
        Hint,        // placeholder of an edit box
        ToolTip,     // tooltip of a drop-down
        ColumnTitle, // grid column title, by index
        Items,       // drop-down items, separated by '\n'
    };

    struct Text {
        const char* window;  // objectName of the window
        const char* control; // objectName inside it; empty for the window itself
        Property property;
        int column; // for ColumnTitle
        const char* ru;
        const char* en;
    };

    // tables: each window's rows, in the order they are applied.
    explicit Localization(const QList<QList<Text>>& tables);

    // The windows the rows name, in start order; each is told of a switch.
    void addWindow(QWidget* window);
    const QList<QWidget*>& windows() const { return m_windows; }

    // 1 applies Russian, 0 English; any other code does nothing.
    void SetLanguage(int code);
    void SetTextsRU();
    void SetTextsEN();

    const QList<Text>& texts() const { return m_texts; }

    // Assigns every row's text of one language, then lets each window
    // refresh what follows from its texts.
    void apply(bool russian);

    // The control of that name in the window, not one of a page embedded in
    // it (a page's Label1 is not the window's Label1); nullptr when absent.
    QWidget* control(QWidget* window, const char* name) const;

private:
    // The window's own controls by object name.
    QHash<QString, QWidget*> controlsOf(QWidget* window) const;

    QList<QWidget*> m_windows;
    QList<Text> m_texts;
};
