// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileAttributes.h"

#include <QByteArray>
#include <QList>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tunefold {

namespace {

// The names of fd's extended attributes, each ending in NUL; empty where the
// file system has none. std::nullopt (with errno) when they cannot be read.
std::optional<QByteArray> attributeNames(int fd)
{
    for (;;) {
        const ssize_t size = flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? std::optional(QByteArray()) : std::nullopt;
        QByteArray names(size, '\0');
        const ssize_t got = flistxattr(fd, names.data(), names.size());
        if (got >= 0)
            return names.left(got);
        if (errno != ERANGE) // ERANGE: one was added since the first call
            return std::nullopt;
    }
}

// Makes to's extended attributes those of from, ACLs and security labels
// included. Returns 0 or the errno of the call that failed.
int copyAttributes(int from, int to)
{
    const std::optional<QByteArray> wanted = attributeNames(from);
    const std::optional<QByteArray> present = attributeNames(to);
    if (!wanted || !present)
        return errno;
    // A new file may start with attributes of its own, an ACL inherited
    // from the folder's default for one.
    for (const QByteArray &name : present->split('\0')) {
        if (!name.isEmpty() && !wanted->split('\0').contains(name) &&
            fremovexattr(to, name.constData()) != 0)
            return errno;
    }
    for (const QByteArray &name : wanted->split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = fgetxattr(from, name.constData(), nullptr, 0);
        if (size < 0)
            return errno;
        QByteArray value(size, '\0');
        // ERANGE when the value grew in between: the caller then writes in place.
        const ssize_t got = fgetxattr(from, name.constData(), value.data(), value.size());
        if (got < 0 || fsetxattr(to, name.constData(), value.constData(), got, 0) != 0)
            return errno;
    }
    return 0;
}

} // namespace

int carryOverAttributes(int from, int to)
{
    // The owner goes first because chown clears set-ID bits and file
    // capabilities; the mode goes last because an ACL carries group bits of
    // its own.
    struct stat want, got;
    if (fstat(from, &want) != 0 || fchown(to, want.st_uid, want.st_gid) != 0)
        return errno;
    if (const int error = copyAttributes(from, to); error != 0)
        return error;
    if (fchmod(to, want.st_mode & 07777) != 0 || fstat(to, &got) != 0)
        return errno;
    const bool same = got.st_uid == want.st_uid && got.st_gid == want.st_gid &&
                      (got.st_mode & 07777) == (want.st_mode & 07777);
    return same ? 0 : EPERM;
}

} // namespace tunefold
