#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// Every key of Data/Config.ini (section MAIN) as a typed value. The keys the
// settings page shows are held here while the program runs: a switch is
// written the moment it changes, the three time-outs at program end. The
// other keys (language, password digest, the desk's clear box, the tool
// sort) are read from the file at each access, as another copy of the
// program may have written them.
class Settings : public QObject
{
    Q_OBJECT
public:
    // The tool list's optional columns 1..11, in grid order.
    static constexpr int ToolColumnCount = 11;

    explicit Settings(const QString& iniPath, QObject* parent = nullptr);

    const QString& path() const { return m_path; }
    bool fileExists() const;

    // Reads the page's keys. A bad value leaves its default and is reported
    // with its key, one line each; every other key still loads.
    QStringList load();
    // Writes the three time-outs; called once at program end.
    void saveTimeouts();

    bool showTime() const { return m_showTime; }
    void setShowTime(bool on);
    bool returnToolOnlyOwner() const { return m_returnToolOnlyOwner; }
    void setReturnToolOnlyOwner(bool on);
    bool showRecordCount() const { return m_showRecordCount; }
    void setShowRecordCount(bool on);
    bool showMainForm() const { return m_showMainForm; }
    void setShowMainForm(bool on);
    bool playSound() const { return m_playSound; }
    void setPlaySound(bool on);

    int showMainFormTimer() const { return m_showMainFormTimer; }
    void setShowMainFormTimer(int seconds);
    int timerInterval() const { return m_timerInterval; }
    void setTimerInterval(int seconds);
    int packetTimer() const { return m_packetTimer; }
    void setPacketTimer(int seconds);
    static constexpr int MinTimeout = 1;
    static constexpr int MaxTimeout = 10000;

    bool toolColumnVisible(int column) const { return m_toolColumns.value(column - 1, false); }
    void setToolColumnVisible(int column, bool visible);
    // Writes all eleven column keys.
    void saveToolColumns();

    // The journals' optional columns (the desk's and the recipient card's),
    // after their own: the tool's code and its name. Shown unless the file
    // says otherwise; a change is written at once.
    enum class JournalColumn { ToolCode, ToolName };
    static constexpr int JournalColumnCount = 2;
    bool journalColumnVisible(JournalColumn column) const { return m_journalColumns[static_cast<int>(column)]; }
    void setJournalColumnVisible(JournalColumn column, bool visible);

    // Keys read and written at each access.
    bool clearFields() const;
    void setClearFields(bool on);
    QString language() const; // "RU" when absent
    void setLanguage(const QString& code);
    QString passwordDigest() const;                // "MD5" when absent
    bool setPasswordDigest(const QString& digest); // false when not written
    QString sortTools() const;
    void setSortTools(const QString& sort);
    // The folder a file chooser of that kind last ended in; empty when none.
    enum class ChooserFolder { Pictures, SavedFiles };
    QString chooserFolder(ChooserFolder kind) const;
    void setChooserFolder(ChooserFolder kind, const QString& folder);
    // Labels: where the printer puts a page, in mm right and down from
    // where it should (read as 0 when absent or not a number), and the
    // prefix of a place's label code ("PL-" when absent or empty).
    double labelOffsetRight() const;
    double labelOffsetDown() const;
    void setLabelOffset(double right, double down);
    QString placeLabelPrefix() const;
    bool setPlaceLabelPrefix(const QString& prefix); // false when not written

signals:
    void showTimeChanged(bool on);
    void returnToolOnlyOwnerChanged(bool on);
    void showRecordCountChanged(bool on);
    void showMainFormChanged(bool on);
    void playSoundChanged(bool on);
    void timeoutsChanged();
    void toolColumnsChanged();
    void journalColumnsChanged();

private:
    QString read(const QString& key) const; // "0" when absent
    void write(const QString& key, const QString& value);
    void writeSwitch(const char* key, bool on, const char* onText);
    // Sets a switch of the page: written at once, then told.
    void setSwitch(bool& field, bool on, const char* key, const char* onText, void (Settings::*changed)(bool));
    void setTimeout(int& field, int seconds);

    QString m_path;
    bool m_showTime = false;
    bool m_returnToolOnlyOwner = false;
    bool m_showRecordCount = false;
    bool m_showMainForm = false;
    bool m_playSound = true;
    int m_showMainFormTimer = 5;
    int m_timerInterval = 5;
    int m_packetTimer = 20;
    QList<bool> m_toolColumns;
    bool m_journalColumns[JournalColumnCount] = {true, true};
};
