#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The settings file Data/Config.ini, read and written line by line the way
// the Windows profile calls do. Nothing is cached: every call goes to the
// file, so two objects (or another program) on the same path stay in step.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    const QString& path() const { return m_path; }
    bool exists() const;

    // The trimmed value, with one pair of enclosing quotes removed; nothing
    // when the file, the section or the key is absent. Names ignore case.
    std::optional<QString> read(const QString& section, const QString& key) const;
    QString read(const QString& section, const QString& key, const QString& defaultValue) const;

    // Sets key=value in the section, adding the key or the section when
    // missing; every other line stays as it was. False when the file cannot
    // be written (read-only file, missing folder) or a name cannot be stored.
    bool write(const QString& section, const QString& key, const QString& value);

    // Appends raw lines at the end of the file.
    bool appendLines(const QStringList& lines);

    // Settings text as a switch: a decimal integer (non-zero is on) or
    // True/False in any case. Nothing for anything else.
    static std::optional<bool> toBool(const QString& text);
    // Decimal integer text with an optional sign; nothing on overflow.
    static std::optional<int> toInt(const QString& text);

private:
    bool canWrite() const;
    bool load(QByteArray& bytes) const;
    bool save(const QByteArray& bytes);

    QString m_path;
};
