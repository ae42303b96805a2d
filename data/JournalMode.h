#pragma once

// How the engine keeps a transaction safe until it is written: a
// write-ahead log beside the file (several programs on one computer read
// while one writes), or a rollback journal (a network folder, where the
// log's shared memory would not be shared).
enum class JournalMode {
    Wal,
    Rollback,
};
