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

int readOpenFile(int fd, qint64 maxSize, QByteArray &contents)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (info.st_size > maxSize)
        return EFBIG;
    char chunk[64 * 1024];
    for (;;) {
        if (contents.size() > maxSize)
            return EFBIG; // also when it grew while being read
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            return 0;
        if (got < 0 && errno != EINTR)
            return errno;
        if (got > 0)
            contents.append(chunk, qsizetype(got));
    }
}

} // namespace

int readSmallFile(const QString &path, qint64 maxSize, QByteArray &contents)
{
    contents.clear();
    // O_NONBLOCK keeps a pipe in the file's place from blocking the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    const int error = readOpenFile(fd, maxSize, contents);
    ::close(fd);
    return error;
}

} // namespace tunefold
