#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The files of a zip archive (a docx) held in memory: read whole, changed,
// written back whole. Folder entries are dropped; order is kept.
class ZipPackage
{
public:
    struct Entry {
        QString name;
        QByteArray data;
    };

    // Replaces the entries by those of the archive. False, with libzip's or
    // our own reason in errorString(), when the bytes are not a readable zip.
    bool read(const QByteArray& archive);

    // The archive of the current entries, deflated; every entry gets
    // modified, when valid, as its time. Empty with errorString() on failure.
    QByteArray write(const QDateTime& modified = {});

    const QList<Entry>& entries() const { return m_entries; }
    // nullptr when there is no entry of that name.
    const QByteArray* find(const QString& name) const;
    // Replaces the entry's data, or appends an entry.
    void put(const QString& name, const QByteArray& data);

    QString errorString() const { return m_error; }

private:
    QList<Entry> m_entries;
    QString m_error;
};
