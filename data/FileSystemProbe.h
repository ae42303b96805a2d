#pragma once

#include <QString>

// Tells whether a folder lies on a network filesystem (NFS, SMB/CIFS, ...),
// where the engine's write-ahead log is unsafe: its shared memory works only
// between programs on one computer. Tests give a probe of their own.
class FileSystemProbe
{
public:
    virtual ~FileSystemProbe() = default;
    virtual bool isNetwork(const QString& folder) const;

    // Whether a statfs() filesystem type is a network one.
    static bool isNetworkType(long type);
};
