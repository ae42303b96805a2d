#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <limits>

namespace {

// Lines are kept as raw bytes so that lines we do not touch are written back
// exactly, even when they are not valid UTF-8.
struct Line {
    QByteArray text;
    QByteArray eol; // "\n", "\r\n", or empty for an unterminated last line
};

struct Document {
    QList<Line> lines;
    QByteArray eol = "\n";

    explicit Document(const QByteArray& bytes)
    {
        bool styleSeen = false;
        qsizetype start = 0;
        while (start < bytes.size()) {
            const qsizetype nl = bytes.indexOf('\n', start);
            if (nl < 0) {
                lines.append({bytes.mid(start), {}});
                break;
            }
            const bool crlf = nl > start && bytes.at(nl - 1) == '\r';
            const qsizetype end = crlf ? nl - 1 : nl;
            lines.append({bytes.mid(start, end - start), crlf ? QByteArray("\r\n") : QByteArray("\n")});
            if (!styleSeen) {
                eol = lines.last().eol;
                styleSeen = true;
            }
            start = nl + 1;
        }
    }

    QByteArray bytes() const
    {
        QByteArray out;
        for (const Line& line : lines)
            out += line.text + line.eol;
        return out;
    }

    void terminate(qsizetype index)
    {
        if (index >= 0 && index < lines.size() && lines[index].eol.isEmpty())
            lines[index].eol = eol;
    }

    void insert(qsizetype index, const QByteArray& text)
    {
        terminate(index - 1);
        lines.insert(index, {text, eol});
    }
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QString name;
    QString value;
};

Parsed parseLine(const QByteArray& text)
{
    // fromUtf8 drops a byte order mark before the first header.
    const QString line = QString::fromUtf8(text).trimmed();
    if (line.isEmpty() || line.startsWith(u';'))
        return {};
    if (line.startsWith(u'[')) {
        const qsizetype close = line.lastIndexOf(u']');
        if (close < 0)
            return {};
        return {Kind::Section, line.mid(1, close - 1).trimmed(), {}};
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return {};
    const QString key = line.left(eq).trimmed();
    if (key.isEmpty())
        return {};
    return {Kind::Key, key, line.mid(eq + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

struct Location {
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastKey = -1;
    Parsed keyLine;
};

// Only the first section of that name counts, as on Windows.
Location locate(const Document& doc, const QString& section, const QString& key)
{
    Location at;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Parsed p = parseLine(doc.lines.at(i).text);
        if (p.kind == Kind::Section) {
            if (at.section >= 0)
                break;
            if (sameName(p.name, section))
                at.section = i;
        } else if (p.kind == Kind::Key && at.section >= 0) {
            at.lastKey = i;
            if (sameName(p.name, key)) {
                at.key = i;
                at.keyLine = p;
                break;
            }
        }
    }
    return at;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// A name that would read back as something else is refused rather than
// written into a line that no longer parses as intended.
bool storable(const QString& section, const QString& key, const QString& value)
{
    if (section.isEmpty() || section.contains(u']') || hasLineBreak(section))
        return false;
    if (key.isEmpty() || key.contains(u'=') || key.startsWith(u'[') || key.startsWith(u';') || hasLineBreak(key))
        return false;
    return !hasLineBreak(value);
}

// The owner write bit stands for the Windows read-only attribute; checking it
// as well keeps a read-only file protected when running as root.
bool writable(const QFileInfo& info)
{
    return info.isWritable() && (info.permissions() & QFile::WriteOwner);
}

// Decimal digits with an optional sign; the digits without the sign.
std::optional<QStringView> decimalDigits(QStringView text, bool* negative)
{
    *negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        *negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text;
}

} // namespace

IniFile::IniFile(const QString& path)
    : m_path(path)
{
}

bool IniFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

std::optional<QString> IniFile::read(const QString& section, const QString& key) const
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (sectionName.isEmpty() || keyName.isEmpty())
        return std::nullopt;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Document doc(file.readAll());
    const Location at = locate(doc, sectionName, keyName);
    if (at.key < 0)
        return std::nullopt;
    return unquoted(at.keyLine.value);
}

QString IniFile::read(const QString& section, const QString& key, const QString& defaultValue) const
{
    return read(section, key).value_or(defaultValue);
}

bool IniFile::write(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (!storable(sectionName, keyName, value) || !canWrite())
        return false;
    QByteArray before;
    if (!load(before))
        return false;

    Document doc(before);
    const Location at = locate(doc, sectionName, keyName);
    const QByteArray valueBytes = value.toUtf8();
    if (at.key >= 0) {
        doc.lines[at.key].text = at.keyLine.name.toUtf8() + '=' + valueBytes;
    } else if (at.section >= 0) {
        const qsizetype after = at.lastKey >= 0 ? at.lastKey : at.section;
        doc.insert(after + 1, keyName.toUtf8() + '=' + valueBytes);
    } else {
        doc.insert(doc.lines.size(), '[' + sectionName.toUtf8() + ']');
        doc.insert(doc.lines.size(), keyName.toUtf8() + '=' + valueBytes);
    }

    const QByteArray after = doc.bytes();
    if (after == before && exists())
        return true;
    return save(after);
}

bool IniFile::appendLines(const QStringList& lines)
{
    if (!canWrite())
        return false;
    QByteArray before;
    if (!load(before))
        return false;
    Document doc(before);
    for (const QString& line : lines)
        doc.insert(doc.lines.size(), line.toUtf8());
    return save(doc.bytes());
}

bool IniFile::canWrite() const
{
    const QFileInfo info(m_path);
    if (info.exists())
        return info.isFile() && writable(info);
    const QFileInfo folder(info.absolutePath());
    return folder.isDir() && writable(folder);
}

// A missing file reads as empty, so a write creates it.
bool IniFile::load(QByteArray& bytes) const
{
    bytes.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool IniFile::save(const QByteArray& bytes)
{
    // QSaveFile gives the new file the permissions of the one it replaces.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // An uncommitted QSaveFile leaves the old file as it was.
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

std::optional<bool> IniFile::toBool(const QString& text)
{
    const QString t = text.trimmed();
    if (sameName(t, QStringLiteral("True")))
        return true;
    if (sameName(t, QStringLiteral("False")))
        return false;
    bool negative = false;
    const auto digits = decimalDigits(t, &negative);
    if (!digits)
        return std::nullopt;
    // Any size of number will do: only zero or not matters.
    for (QChar c : *digits) {
        if (c != u'0')
            return true;
    }
    return false;
}

std::optional<int> IniFile::toInt(const QString& text)
{
    bool negative = false;
    const QString t = text.trimmed();
    const auto digits = decimalDigits(t, &negative);
    if (!digits)
        return std::nullopt;
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min()) : qint64(std::numeric_limits<int>::max());
    qint64 value = 0;
    for (QChar c : *digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return int(negative ? -value : value);
}
