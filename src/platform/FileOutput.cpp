// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileOutput.h"

#include "platform/FileAttributes.h"
#include "platform/TempFileCleanup.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>

namespace tunefold {

namespace {

// The path the kernel reached for fd, links resolved; empty without /proc.
QByteArray resolvedPath(int fd)
{
    std::error_code error;
    const std::filesystem::path path =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    return error ? QByteArray() : QByteArray::fromStdString(path.native());
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Holds SIGPIPE and SIGXFSZ back while it lives, so that a pipe whose
// reader has gone ends the write with EPIPE, and a file past the size limit
// (ulimit -f) with EFBIG, instead of ending the program, the window included,
// with a temporary file left behind; takes back the signals such a write
// raised.
class WriteSignalBlock
{
public:
    WriteSignalBlock()
    {
        sigemptyset(&m_blocked);
        sigaddset(&m_blocked, SIGPIPE);
        sigaddset(&m_blocked, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &m_blocked, &m_old);
    }
    ~WriteSignalBlock()
    {
        const int saved = errno;
        sigset_t pending;
        const timespec now{};
        if (sigpending(&pending) == 0) {
            for (const int signal : {SIGPIPE, SIGXFSZ}) {
                sigset_t one;
                sigemptyset(&one);
                sigaddset(&one, signal);
                if (!sigismember(&m_old, signal) && sigismember(&pending, signal))
                    (void)sigtimedwait(&one, nullptr, &now);
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
        errno = saved;
    }
    WriteSignalBlock(const WriteSignalBlock &) = delete;
    WriteSignalBlock &operator=(const WriteSignalBlock &) = delete;

private:
    sigset_t m_blocked, m_old;
};

// Makes a new file of a random name in the folder open as folderFd, there
// and nowhere else, however the folder's path changes meanwhile.
int makeTempFile(int folderFd, QByteArray &name)
{
    static constexpr char Letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".tunefold-";
        for (int i = 0; i < 8; ++i)
            name += Letters[arc4random_uniform(sizeof Letters - 1)];
        const int fd = openat(folderFd, name.constData(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

int writeAll(int fd, QByteArrayView bytes)
{
    const WriteSignalBlock noSignal;
    // A short write is not yet a failure: a disk that is filling up takes
    // what fits and only the next write tells why the rest did not.
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes = bytes.sliced(written);
    }
    return 0;
}

FileOutput::~FileOutput()
{
    discard();
}

bool FileOutput::open(const QByteArray &path)
{
    discard();
    m_error.clear();
    // Not O_TRUNC: whether the old content may go depends on what the target
    // turns out to be.
    constexpr int Flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    m_target = ::open(path.constData(), Flags);
    if (m_target < 0 && errno == ENOENT) {
        // Made as a shell redirection makes it, so the umask, a default ACL
        // and a set-group-ID folder decide its mode and group; it is then
        // filled like any replaced file. A link to nowhere makes the file it
        // names (O_EXCL alone refuses links).
        m_target = ::open(path.constData(), Flags | O_CREAT | O_EXCL, 0666);
        if (m_target < 0 && errno == EEXIST)
            m_target = ::open(path.constData(), Flags | O_CREAT, 0666);
        if (m_target >= 0)
            m_createdAt = resolvedPath(m_target);
    }
    struct stat target;
    if (m_target < 0 || fstat(m_target, &target) != 0)
        return fail(errno);
    m_regular = S_ISREG(target.st_mode);
    if (!m_regular) {
        m_mode = InPlace;
        return true;
    }
    if (target.st_nlink == 1 && prepareReplace(target)) {
        m_mode = Replace;
        return true;
    }
    if (!m_error.isEmpty())
        return fail(0);
    if (ftruncate(m_target, 0) != 0)
        return fail(errno);
    m_mode = InPlace;
    return true;
}

// Returns false with no error when the target is to be written in place.
bool FileOutput::prepareReplace(const struct stat &target)
{
    // The rename must land on the file the kernel reached, not on a link on
    // the way there.
    const QByteArray resolved = resolvedPath(m_target);
    const qsizetype slash = resolved.lastIndexOf('/');
    if (slash < 0)
        return false;
    const QByteArray folder = slash == 0 ? QByteArray("/") : resolved.left(slash);
    m_name = resolved.mid(slash + 1);
    struct stat seen, dir;
    m_folder = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0 || fstat(m_folder, &dir) != 0 ||
        fstatat(m_folder, m_name.constData(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
        !sameFile(seen, target))
        return false;
    // In a sticky folder only the owner of the file or of the folder may
    // rename over it (root aside).
    const uid_t me = geteuid();
    if ((dir.st_mode & S_ISVTX) && me != 0 && me != target.st_uid && me != dir.st_uid)
        return false;

    QByteArray tempName;
    m_temp = makeTempFile(m_folder, tempName);
    if (m_temp < 0) {
        // A folder we may not write is the in-place case; anything else
        // (no space, no inodes) would fail there too, after emptying the file.
        if (errno != EACCES && errno != EPERM && errno != EROFS)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_tempName = tempName;
    m_cleanupSlot = TempFileCleanup::remember(m_folder, m_tempName.constData());
    if (carryOverAttributes(m_target, m_temp) == 0)
        return true;
    ::close(m_temp);
    m_temp = -1;
    (void)unlinkat(m_folder, m_tempName.constData(), 0);
    m_tempName.clear();
    TempFileCleanup::forget(std::exchange(m_cleanupSlot, -1));
    return false;
}

bool FileOutput::write(std::string_view bytes)
{
    const int fd = m_mode == Replace ? m_temp : m_target;
    if (const int error = writeAll(fd, bytes); error != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    return true;
}

bool FileOutput::commit()
{
    if (m_mode == Closed)
        return fail(EBADF);
    if (m_mode == Replace) {
        // Again now: writing clears set-ID bits and capabilities for anyone
        // but root.
        if (const int error = carryOverAttributes(m_target, m_temp); error != 0)
            return fail(error);
        if (fdatasync(m_temp) != 0)
            return fail(errno);
        const int temp = std::exchange(m_temp, -1);
        if (::close(temp) != 0 ||
            renameat(m_folder, m_tempName.constData(), m_folder, m_name.constData()) != 0)
            return fail(errno);
        // The rename itself reaches the disk with the folder; a failure here
        // cannot undo it, so it is not reported.
        (void)fsync(m_folder);
    } else if (m_regular && fdatasync(m_target) != 0) {
        return fail(errno);
    }
    m_createdAt.clear();
    m_tempName.clear();
    const int target = std::exchange(m_target, -1);
    close();
    // Some file systems (NFS) report a failed write only here.
    if (::close(target) != 0)
        return fail(errno);
    return true;
}

void FileOutput::discard()
{
    if (!m_tempName.isEmpty())
        (void)unlinkat(m_folder, m_tempName.constData(), 0);
    struct stat made, there;
    if (!m_createdAt.isEmpty() && fstat(m_target, &made) == 0 &&
        lstat(m_createdAt.constData(), &there) == 0 && sameFile(made, there))
        (void)unlink(m_createdAt.constData());
    m_tempName.clear();
    m_createdAt.clear();
    close();
}

QString FileOutput::errorString() const
{
    return m_error;
}

// Keeps the first reason when a clean-up call fails as well.
bool FileOutput::fail(int error)
{
    if (error != 0)
        m_error = QString::fromLocal8Bit(std::strerror(error));
    discard();
    return false;
}

void FileOutput::close()
{
    TempFileCleanup::forget(std::exchange(m_cleanupSlot, -1));
    for (int *fd : {&m_temp, &m_folder, &m_target}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    m_mode = Closed;
}

} // namespace tunefold
