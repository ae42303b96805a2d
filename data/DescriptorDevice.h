#pragma once

#include <QIODevice>

// Writes straight to an open file descriptor, without a buffer of its own,
// and keeps the system's error number of the first failed write: writers
// that ignore a device's errors (the PDF engine) cannot hide a full disk.
class DescriptorDevice : public QIODevice
{
public:
    // fd stays the caller's: it is neither closed nor synced here.
    explicit DescriptorDevice(int fd);

    bool isSequential() const override { return true; }
    // 0 while every write succeeded.
    int failedErrno() const { return m_errno; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    int m_fd;
    int m_errno = 0;
};
