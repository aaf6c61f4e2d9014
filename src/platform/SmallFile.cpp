// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SmallFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunefold {

namespace {

int readOpenFile(int fd, qint64 maxSize, const std::function<void(QByteArrayView)> &take)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (info.st_size > maxSize)
        return EFBIG;
    char chunk[64 * 1024];
    for (qint64 size = 0;;) {
        if (size > maxSize)
            return EFBIG; // also when it grew while being read
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            return 0;
        if (got < 0 && errno != EINTR)
            return errno;
        if (got > 0) {
            size += got;
            take(QByteArrayView(chunk, qsizetype(got)));
        }
    }
}

} // namespace

int readSmallFile(const QString &path, qint64 maxSize, QByteArray &contents)
{
    contents.clear();
    return readFileInPieces(path, maxSize, [&contents](QByteArrayView piece) { contents += piece; });
}

int readFileInPieces(const QString &path, qint64 maxSize,
                     const std::function<void(QByteArrayView)> &take)
{
    // O_NONBLOCK keeps a pipe in the file's place from blocking the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    const int error = readOpenFile(fd, maxSize, take);
    ::close(fd);
    return error;
}

} // namespace tunefold
