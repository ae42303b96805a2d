#include "DescriptorDevice.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

DescriptorDevice::DescriptorDevice(int fd)
    : m_fd(fd)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 DescriptorDevice::readData(char*, qint64)
{
    return -1;
}

qint64 DescriptorDevice::writeData(const char* data, qint64 size)
{
    if (m_errno != 0)
        return -1; // once short, the file is never whole again
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_errno = n < 0 ? errno : ENOSPC;
            setErrorString(QString::fromLocal8Bit(std::strerror(m_errno)));
            return -1;
        }
        done += n;
    }
    return done;
}
