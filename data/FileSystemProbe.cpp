#include "FileSystemProbe.h"

#include <QFile>
#include <sys/vfs.h>

bool FileSystemProbe::isNetworkType(long type)
{
    // Magic numbers of linux/magic.h and the filesystems' own headers.
    switch (static_cast<unsigned long>(type) & 0xFFFFFFFFUL) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB (smbfs)
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2/3 (cifs.ko)
    case 0x564CUL:     // NCP (NetWare)
    case 0x5346414FUL: // AFS
    case 0x6B414653UL: // kAFS
    case 0x73757245UL: // Coda
    case 0x00C36400UL: // Ceph
    case 0x01021997UL: // 9p
    case 0x47504653UL: // GPFS
    case 0x0BD00BD0UL: // Lustre
        return true;
    default:
        return false;
    }
}

bool FileSystemProbe::isNetwork(const QString& folder) const
{
    struct statfs fs {
    };
    if (::statfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return false; // the open that follows names the real problem
    return isNetworkType(static_cast<long>(fs.f_type));
}
