#include "LibZip.h"

#include <QLibrary>

namespace {

struct Loaded {
    LibZip functions{};
    QString error;
    bool ok = false;
};

template<typename Function>
bool resolve(QLibrary& library, const char* name, Function& target, QString& error)
{
    target = reinterpret_cast<Function>(library.resolve(name));
    if (!target)
        error = library.errorString();
    return target != nullptr;
}

Loaded load()
{
    Loaded l;
    // The run-time name of the libzip the program was built with, not the
    // development link.
    QLibrary library(QStringLiteral(TOOLDESK_LIBZIP_SONAME));
    if (!library.load()) {
        l.error = library.errorString();
        return l;
    }
    LibZip& z = l.functions;
    QString& e = l.error;
    // The member is named as the function without its zip_ prefix.
#define TOOLDESK_RESOLVE(name) resolve(library, "zip_" #name, z.name, e)
    l.ok = TOOLDESK_RESOLVE(close) && TOOLDESK_RESOLVE(discard) && TOOLDESK_RESOLVE(error_fini)
        && TOOLDESK_RESOLVE(error_init) && TOOLDESK_RESOLVE(error_strerror) && TOOLDESK_RESOLVE(fclose)
        && TOOLDESK_RESOLVE(file_add) && TOOLDESK_RESOLVE(file_get_error) && TOOLDESK_RESOLVE(file_set_mtime)
        && TOOLDESK_RESOLVE(fopen_index) && TOOLDESK_RESOLVE(fread) && TOOLDESK_RESOLVE(get_error)
        && TOOLDESK_RESOLVE(get_num_entries) && TOOLDESK_RESOLVE(open_from_source)
        && TOOLDESK_RESOLVE(set_file_compression) && TOOLDESK_RESOLVE(source_buffer)
        && TOOLDESK_RESOLVE(source_buffer_create) && TOOLDESK_RESOLVE(source_close) && TOOLDESK_RESOLVE(source_error)
        && TOOLDESK_RESOLVE(source_free) && TOOLDESK_RESOLVE(source_keep) && TOOLDESK_RESOLVE(source_open)
        && TOOLDESK_RESOLVE(source_read) && TOOLDESK_RESOLVE(source_stat) && TOOLDESK_RESOLVE(stat_index);
#undef TOOLDESK_RESOLVE
    // Left loaded for the rest of the program: QLibrary unloads only on unload().
    return l;
}

} // namespace

const LibZip* LibZip::get(QString* error)
{
    static const Loaded loaded = load();
    if (!loaded.ok && error)
        *error = QStringLiteral("libzip: %1").arg(loaded.error);
    return loaded.ok ? &loaded.functions : nullptr;
}
