#pragma once

#include <zip.h>

#include <QString>

// libzip's functions, loaded on the first act document rather than at
// start: the library brings OpenSSL's libcrypto along, which would add
// 1.5 MB and a millisecond to every start for a page used now and then.
struct LibZip {
    decltype(&::zip_close) close;
    decltype(&::zip_discard) discard;
    decltype(&::zip_error_fini) error_fini;
    decltype(&::zip_error_init) error_init;
    decltype(&::zip_error_strerror) error_strerror;
    decltype(&::zip_fclose) fclose;
    decltype(&::zip_file_add) file_add;
    decltype(&::zip_file_get_error) file_get_error;
    decltype(&::zip_file_set_mtime) file_set_mtime;
    decltype(&::zip_fopen_index) fopen_index;
    decltype(&::zip_fread) fread;
    decltype(&::zip_get_error) get_error;
    decltype(&::zip_get_num_entries) get_num_entries;
    decltype(&::zip_open_from_source) open_from_source;
    decltype(&::zip_set_file_compression) set_file_compression;
    decltype(&::zip_source_buffer) source_buffer;
    decltype(&::zip_source_buffer_create) source_buffer_create;
    decltype(&::zip_source_close) source_close;
    decltype(&::zip_source_error) source_error;
    decltype(&::zip_source_free) source_free;
    decltype(&::zip_source_keep) source_keep;
    decltype(&::zip_source_open) source_open;
    decltype(&::zip_source_read) source_read;
    decltype(&::zip_source_stat) source_stat;
    decltype(&::zip_stat_index) stat_index;

    // The library, loaded once; nullptr with the reason in *error when it
    // cannot be loaded or lacks a function.
    static const LibZip* get(QString* error);
};
