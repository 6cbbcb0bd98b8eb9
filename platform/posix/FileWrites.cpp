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

// With O_APPEND every write lands at the end of the file as it is at that moment. Without it the bytes
// overwrite the file from its start, and what was longer before goes (a file that grows is not truncated).
bool writeFile(const QString& path, int flags, QByteArrayView bytes)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), flags | O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return false;
    bool written = writeAll(descriptor, bytes);
    struct stat status = {};
    if (written && !(flags & O_APPEND))
        written = ::fstat(descriptor, &status) == 0 &&
                  (status.st_size <= bytes.size() || ::ftruncate(descriptor, bytes.size()) == 0);
    return ::close(descriptor) == 0 && written;
}

} // namespace

namespace FileWrites {

bool appendAtomically(const QString& path, QByteArrayView bytes)
{
    return writeFile(path, O_APPEND, bytes);
}

bool replaceContent(const QString& path, QByteArrayView bytes)
{
    return writeFile(path, 0, bytes);
}

bool rename(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace FileWrites
