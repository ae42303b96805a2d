#pragma once

#include <QList>
#include <QString>

struct Forms;
struct Messages;

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
        int column;          // for ColumnTitle
        const char* ru;
        const char* en;
    };

    struct MessageText {
        const char* name;
        QString Messages::*field;
        const char* ru;
        const char* en;
    };

    // tables: each window's rows, in the order they are applied.
    Localization(Forms& forms, const QList<QList<Text>>& tables);

    // 1 applies Russian, 0 English; any other code does nothing.
    void SetLanguage(int code);
    void SetTextsRU();
    void SetTextsEN();

    const QList<Text>& texts() const { return m_texts; }
    static const QList<MessageText>& messages();

private:
    void apply(bool russian);

    Forms& m_forms;
    QList<Text> m_texts;
};
