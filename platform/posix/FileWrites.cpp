#include "FileWrites.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Goes on after a signal or a short write.
bool writeAll(int descriptor, QByteArrayView bytes)
{
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

// What was longer in the file before goes; a file that grows needs no truncation.
bool cutAfter(int descriptor, qsizetype size)
{
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0)
        return false;
    return status.st_size <= size || ::ftruncate(descriptor, size) == 0;
}

int openForWriting(const QString& path, int flags)
{
    return ::open(QFile::encodeName(path).constData(), flags | O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
}

} // namespace

namespace FileWrites {

// With O_APPEND every write lands at the end of the file as it is at that moment.
bool appendAtomically(const QString& path, QByteArrayView bytes)
{
    const int descriptor = openForWriting(path, O_APPEND);
    if (descriptor < 0)
        return false;
    const bool written = writeAll(descriptor, bytes);
    return ::close(descriptor) == 0 && written;
}

bool replaceContent(const QString& path, QByteArrayView bytes)
{
    const int descriptor = openForWriting(path, 0);
    if (descriptor < 0)
        return false;
    const bool written = writeAll(descriptor, bytes) && cutAfter(descriptor, bytes.size());
    return ::close(descriptor) == 0 && written;
}

bool rename(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace FileWrites
