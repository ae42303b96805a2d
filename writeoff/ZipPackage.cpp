#include "ZipPackage.h"

#include "LibZip.h"

#include <memory>

namespace {

// A template is a few kilobytes; these only stop a broken or hostile archive
// from making us allocate gigabytes.
constexpr zip_uint64_t MaxEntryBytes = 64ULL * 1024 * 1024;
constexpr zip_uint64_t MaxTotalBytes = 256ULL * 1024 * 1024;

QString zipErrorText(const LibZip& z, zip_error_t* error)
{
    return QString::fromLocal8Bit(z.error_strerror(error));
}

struct ArchiveCloser {
    const LibZip* z;
    void operator()(zip_t* archive) const { z->discard(archive); }
};
struct EntryCloser {
    const LibZip* z;
    void operator()(zip_file_t* file) const { z->fclose(file); }
};
struct SourceFreer {
    const LibZip* z;
    void operator()(zip_source_t* source) const { z->source_free(source); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;
using EntryPtr = std::unique_ptr<zip_file_t, EntryCloser>;
using SourcePtr = std::unique_ptr<zip_source_t, SourceFreer>;

// Opens an archive on a memory source; the archive takes the source over.
ArchivePtr openArchive(const LibZip& z, zip_source_t* source, int flags, QString* error)
{
    zip_error_t openError;
    z.error_init(&openError);
    zip_t* archive = z.open_from_source(source, flags, &openError);
    if (!archive)
        *error = zipErrorText(z, &openError);
    z.error_fini(&openError);
    return ArchivePtr(archive, ArchiveCloser{&z});
}

} // namespace

bool ZipPackage::read(const QByteArray& archiveBytes)
{
    m_entries.clear();
    m_error.clear();
    const LibZip* z = LibZip::get(&m_error);
    if (!z)
        return false;
    zip_error_t sourceError;
    z->error_init(&sourceError);
    SourcePtr source(
        z->source_buffer_create(archiveBytes.constData(), zip_uint64_t(archiveBytes.size()), 0, &sourceError),
        SourceFreer{z});
    if (!source) {
        m_error = zipErrorText(*z, &sourceError);
        z->error_fini(&sourceError);
        return false;
    }
    z->error_fini(&sourceError);
    ArchivePtr archive = openArchive(*z, source.get(), ZIP_RDONLY, &m_error);
    if (!archive)
        return false;
    source.release(); // owned by the archive from here

    const zip_int64_t count = z->get_num_entries(archive.get(), 0);
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        zip_stat_t stat;
        if (z->stat_index(archive.get(), index, 0, &stat) != 0) {
            m_error = zipErrorText(*z, z->get_error(archive.get()));
            return false;
        }
        const QString name = QString::fromUtf8(stat.name);
        if (name.endsWith(u'/'))
            continue;
        total += stat.size;
        if (stat.size > MaxEntryBytes || total > MaxTotalBytes) {
            m_error = QStringLiteral("%1: %2 bytes unpacked, too large").arg(name).arg(stat.size);
            return false;
        }
        EntryPtr file(z->fopen_index(archive.get(), index, 0), EntryCloser{z});
        if (!file) {
            m_error = name + QStringLiteral(": ") + zipErrorText(*z, z->get_error(archive.get()));
            return false;
        }
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t got = z->fread(file.get(), data.data(), stat.size);
        if (got < 0 || zip_uint64_t(got) != stat.size) {
            m_error = name + QStringLiteral(": ") + zipErrorText(*z, z->file_get_error(file.get()));
            return false;
        }
        m_entries.append({name, data});
    }
    return true;
}

QByteArray ZipPackage::write(const QDateTime& modified)
{
    m_error.clear();
    const LibZip* z = LibZip::get(&m_error);
    if (!z)
        return {};
    zip_error_t sourceError;
    z->error_init(&sourceError);
    SourcePtr target(z->source_buffer_create(nullptr, 0, 0, &sourceError), SourceFreer{z});
    if (!target) {
        m_error = zipErrorText(*z, &sourceError);
        z->error_fini(&sourceError);
        return {};
    }
    z->error_fini(&sourceError);
    ArchivePtr archive = openArchive(*z, target.get(), ZIP_TRUNCATE, &m_error);
    if (!archive)
        return {};
    // The archive frees its source when closed; keep ours to read it after.
    z->source_keep(target.get());

    for (const Entry& entry : m_entries) {
        // The entries outlive zip_close, so the data need not be copied.
        zip_source_t* data = z->source_buffer(archive.get(), entry.data.constData(), entry.data.size(), 0);
        const zip_int64_t index = data
            ? z->file_add(archive.get(), entry.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8)
            : -1;
        if (index < 0) {
            if (data)
                z->source_free(data);
            m_error = entry.name + QStringLiteral(": ") + zipErrorText(*z, z->get_error(archive.get()));
            return {};
        }
        z->set_file_compression(archive.get(), zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
        if (modified.isValid())
            z->file_set_mtime(archive.get(), zip_uint64_t(index), time_t(modified.toSecsSinceEpoch()), 0);
    }
    if (z->close(archive.get()) != 0) {
        m_error = zipErrorText(*z, z->get_error(archive.get()));
        return {};
    }
    archive.release();

    zip_stat_t stat;
    if (z->source_stat(target.get(), &stat) != 0 || z->source_open(target.get()) != 0) {
        m_error = zipErrorText(*z, z->source_error(target.get()));
        return {};
    }
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t got = z->source_read(target.get(), bytes.data(), stat.size);
    z->source_close(target.get());
    if (got < 0 || zip_uint64_t(got) != stat.size) {
        m_error = zipErrorText(*z, z->source_error(target.get()));
        return {};
    }
    return bytes;
}

const QByteArray* ZipPackage::find(const QString& name) const
{
    for (const Entry& entry : m_entries) {
        if (entry.name == name)
            return &entry.data;
    }
    return nullptr;
}

void ZipPackage::put(const QString& name, const QByteArray& data)
{
    for (Entry& entry : m_entries) {
        if (entry.name == name) {
            entry.data = data;
            return;
        }
    }
    m_entries.append({name, data});
}
