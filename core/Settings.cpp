#include "Settings.h"

#include "IniFile.h"

#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace {

const QString kMain = QStringLiteral("MAIN");

struct ColumnKey {
    const char* key;
    const char* defaultValue;
};

const ColumnKey kColumnKeys[Settings::ToolColumnCount] = {
    {"ToolColumnView_Type", "-1"},    {"ToolColumnView_Proizvoditel", "-1"}, {"ToolColumnView_SerNum", "-1"},
    {"ToolColumnView_Model", "-1"},   {"ToolColumnView_State", "-1"},        {"ToolColumnView_DateProches", "-1"},
    {"ToolColumnView_Woranty", "-1"}, {"ToolColumnView_Price", "0"},         {"ToolColumnView_Naim", "0"},
    {"ToolColumnView_Inv", "0"},      {"ToolColumnView_Mesto", "0"},
};

const char* const kJournalColumnKeys[Settings::JournalColumnCount] = {"HistoryColumnView_ID_Tool",
                                                                      "HistoryColumnView_Naim"};

} // namespace

Settings::Settings(const QString& iniPath, QObject* parent)
    : QObject(parent)
    , m_path(iniPath)
    , m_toolColumns(ToolColumnCount, false)
{
}

bool Settings::fileExists() const
{
    return QFileInfo::exists(m_path);
}

QString Settings::read(const QString& key) const
{
    return IniFile(m_path).read(kMain, key, QStringLiteral("0"));
}

void Settings::write(const QString& key, const QString& value)
{
    IniFile(m_path).write(kMain, key, value); // a failed write is ignored
}

void Settings::writeSwitch(const char* key, bool on, const char* onText)
{
    write(QLatin1String(key), on ? QLatin1String(onText) : QStringLiteral("0"));
}

void Settings::setSwitch(bool& field, bool on, const char* key, const char* onText, void (Settings::*changed)(bool))
{
    if (on == field)
        return;
    field = on;
    writeSwitch(key, on, onText);
    emit(this->*changed)(on);
}

void Settings::setTimeout(int& field, int seconds)
{
    seconds = std::clamp(seconds, MinTimeout, MaxTimeout);
    if (seconds == field)
        return;
    field = seconds; // written at program end
    emit timeoutsChanged();
}

QStringList Settings::load()
{
    QStringList faults;
    auto readBool = [&](const char* key, void (Settings::*set)(bool)) {
        const QString text = read(QLatin1String(key));
        if (const auto value = IniFile::toBool(text))
            (this->*set)(*value);
        else
            faults << QStringLiteral("%1: '%2' is not a valid boolean value").arg(QLatin1String(key), text);
    };
    auto readInt = [&](const char* key, void (Settings::*set)(int)) {
        const QString text = read(QLatin1String(key));
        if (const auto value = IniFile::toInt(text))
            (this->*set)(*value);
        else
            faults << QStringLiteral("%1: '%2' is not a valid integer value").arg(QLatin1String(key), text);
    };

    readBool("ShowTime", &Settings::setShowTime);
    readBool("ReturnToolOnlyOwner", &Settings::setReturnToolOnlyOwner);
    writeSwitch("ReturnToolOnlyOwner", m_returnToolOnlyOwner, "1");
    readBool("ShowRecordCount", &Settings::setShowRecordCount);
    writeSwitch("ShowRecordCount", m_showRecordCount, "1");
    emit showRecordCountChanged(m_showRecordCount); // the lists show their count labels from it
    readBool("ShowMainForm", &Settings::setShowMainForm);
    readInt("ShowMainFormTimer", &Settings::setShowMainFormTimer);
    readInt("TimerInterval", &Settings::setTimerInterval);
    readBool("PlaySound", &Settings::setPlaySound);
    readInt("PacketTimer", &Settings::setPacketTimer);

    const auto marker = IniFile::toBool(read(QStringLiteral("ToolColumnView")));
    if (!marker.value_or(false)) {
        // Into [MAIN] wherever it stands in the file, not after the last section.
        write(QStringLiteral("ToolColumnView"), QStringLiteral("-1"));
        for (const ColumnKey& c : kColumnKeys)
            write(QLatin1String(c.key), QLatin1String(c.defaultValue));
    }
    for (int i = 0; i < ToolColumnCount; ++i) {
        const QString text = read(QLatin1String(kColumnKeys[i].key));
        if (const auto value = IniFile::toBool(text))
            m_toolColumns[i] = *value;
        else
            faults
                << QStringLiteral("%1: '%2' is not a valid boolean value").arg(QLatin1String(kColumnKeys[i].key), text);
    }
    emit toolColumnsChanged();

    for (int i = 0; i < JournalColumnCount; ++i) {
        // Files written before these columns existed show them.
        const QString key = QLatin1String(kJournalColumnKeys[i]);
        const QString text = IniFile(m_path).read(kMain, key, QStringLiteral("-1"));
        if (const auto value = IniFile::toBool(text))
            m_journalColumns[i] = *value;
        else
            faults << QStringLiteral("%1: '%2' is not a valid boolean value").arg(key, text);
    }
    emit journalColumnsChanged();
    return faults;
}

void Settings::saveTimeouts()
{
    write(QStringLiteral("ShowMainFormTimer"), QString::number(m_showMainFormTimer));
    write(QStringLiteral("TimerInterval"), QString::number(m_timerInterval));
    write(QStringLiteral("PacketTimer"), QString::number(m_packetTimer));
}

void Settings::setShowTime(bool on)
{
    setSwitch(m_showTime, on, "ShowTime", "1", &Settings::showTimeChanged);
}

void Settings::setReturnToolOnlyOwner(bool on)
{
    setSwitch(m_returnToolOnlyOwner, on, "ReturnToolOnlyOwner", "1", &Settings::returnToolOnlyOwnerChanged);
}

void Settings::setShowRecordCount(bool on)
{
    setSwitch(m_showRecordCount, on, "ShowRecordCount", "1", &Settings::showRecordCountChanged);
}

void Settings::setShowMainForm(bool on)
{
    setSwitch(m_showMainForm, on, "ShowMainForm", "-1", &Settings::showMainFormChanged);
}

void Settings::setPlaySound(bool on)
{
    setSwitch(m_playSound, on, "PlaySound", "-1", &Settings::playSoundChanged);
}

void Settings::setShowMainFormTimer(int seconds)
{
    setTimeout(m_showMainFormTimer, seconds);
}

void Settings::setTimerInterval(int seconds)
{
    setTimeout(m_timerInterval, seconds);
}

void Settings::setPacketTimer(int seconds)
{
    setTimeout(m_packetTimer, seconds);
}

void Settings::setToolColumnVisible(int column, bool visible)
{
    const int i = column - 1;
    if (i < 0 || i >= ToolColumnCount || m_toolColumns[i] == visible)
        return;
    m_toolColumns[i] = visible;
    emit toolColumnsChanged();
}

void Settings::saveToolColumns()
{
    for (int i = 0; i < ToolColumnCount; ++i)
        write(QLatin1String(kColumnKeys[i].key), m_toolColumns[i] ? QStringLiteral("-1") : QStringLiteral("0"));
}

void Settings::setJournalColumnVisible(JournalColumn column, bool visible)
{
    const int i = static_cast<int>(column);
    if (m_journalColumns[i] == visible)
        return;
    m_journalColumns[i] = visible;
    writeSwitch(kJournalColumnKeys[i], visible, "-1");
    emit journalColumnsChanged();
}

bool Settings::clearFields() const
{
    const auto value = IniFile(m_path).read(kMain, QStringLiteral("ClearCheckBox"));
    return IniFile::toBool(value.value_or(QStringLiteral("0"))).value_or(false);
}

void Settings::setClearFields(bool on)
{
    writeSwitch("ClearCheckBox", on, "1");
}

QString Settings::language() const
{
    return IniFile(m_path).read(kMain, QStringLiteral("Lenguage"), QStringLiteral("RU"));
}

void Settings::setLanguage(const QString& code)
{
    write(QStringLiteral("Lenguage"), code);
}

QString Settings::passwordDigest() const
{
    return IniFile(m_path).read(kMain, QStringLiteral("Hash"), QStringLiteral("MD5"));
}

bool Settings::setPasswordDigest(const QString& digest)
{
    return IniFile(m_path).write(kMain, QStringLiteral("Hash"), digest);
}

QString Settings::sortTools() const
{
    return read(QStringLiteral("SortTools"));
}

void Settings::setSortTools(const QString& sort)
{
    write(QStringLiteral("SortTools"), sort);
}

namespace {

QString chooserFolderKey(Settings::ChooserFolder kind)
{
    return kind == Settings::ChooserFolder::Pictures ? QStringLiteral("LastPictureFolder")
                                                     : QStringLiteral("LastSaveFolder");
}

double millimetres(const std::optional<QString>& text)
{
    bool ok = false;
    // A decimal comma as written in Russian.
    const double value = text.value_or(QString()).trimmed().replace(u',', u'.').toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace

// Kept as a file address, so that the file stays plain ASCII whatever
// letters the folder's name has.
QString Settings::chooserFolder(ChooserFolder kind) const
{
    const auto kept = IniFile(m_path).read(kMain, chooserFolderKey(kind));
    if (!kept || kept->isEmpty())
        return {};
    return QUrl::fromEncoded(kept->toLatin1(), QUrl::StrictMode).toLocalFile();
}

void Settings::setChooserFolder(ChooserFolder kind, const QString& folder)
{
    write(chooserFolderKey(kind), QString::fromLatin1(QUrl::fromLocalFile(folder).toEncoded()));
}

double Settings::labelOffsetRight() const
{
    return millimetres(IniFile(m_path).read(kMain, QStringLiteral("LabelOffsetRight")));
}

double Settings::labelOffsetDown() const
{
    return millimetres(IniFile(m_path).read(kMain, QStringLiteral("LabelOffsetDown")));
}

void Settings::setLabelOffset(double right, double down)
{
    write(QStringLiteral("LabelOffsetRight"), QString::number(right));
    write(QStringLiteral("LabelOffsetDown"), QString::number(down));
}

QString Settings::placeLabelPrefix() const
{
    const QString prefix = IniFile(m_path).read(kMain, QStringLiteral("PlaceLabelPrefix"), QString()).trimmed();
    return prefix.isEmpty() ? QStringLiteral("PL-") : prefix;
}

bool Settings::setPlaceLabelPrefix(const QString& prefix)
{
    return IniFile(m_path).write(kMain, QStringLiteral("PlaceLabelPrefix"), prefix);
}
