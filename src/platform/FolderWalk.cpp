// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderWalk.h"

#include "platform/NarrowText.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tunefold {

FolderWalk::FolderWalk(bool recursive, ProblemReport report, std::size_t maxOpenFolders)
    : m_recursive(recursive), m_report(std::move(report)),
      m_maxOpen(std::max<std::size_t>(maxOpenFolders, 1))
{
}

bool FolderWalk::findFirstOf(std::string_view folder, std::span<const std::string> namePatterns,
                             FolderEntry &entry)
{
    close();
    m_partial = false;
    m_folder.assign(folder);
    m_namePatterns.assign(namePatterns.begin(), namePatterns.end());
    m_path.clear();
    return openFolder() && findNext(entry);
}

bool FolderWalk::matches(std::string_view name) const
{
    return std::any_of(m_namePatterns.begin(), m_namePatterns.end(),
                       [&](const std::string &pattern) { return matchesPattern(pattern, name); });
}

void FolderWalk::report(std::size_t pathLength, int error)
{
    m_partial = true;
    if (!m_report)
        return;
    std::string path = m_folder;
    if (pathLength > 0) {
        if (!path.ends_with('/'))
            path += '/';
        path.append(m_path, 0, pathLength);
        if (path.ends_with('/'))
            path.pop_back();
    }
    m_report(path, error);
}

int FolderWalk::openSubFolder(int parentFd, const char *name, std::size_t pathLength,
                              struct stat &st)
{
    // O_NOFOLLOW: a folder swapped for a link after readdir is not entered.
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        // Gone or replaced since readdir saw it: skipped as any vanished entry.
        if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP)
            report(pathLength, errno);
        return -1;
    }
    if (fstat(fd, &st) != 0) {
        report(pathLength, errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int FolderWalk::refuseLoop(int fd, std::size_t pathLength)
{
    report(pathLength, ELOOP);
    ::close(fd);
    return -1;
}

bool FolderWalk::isFolder(int fd, dev_t device, ino_t inode)
{
    struct stat st;
    return fstat(fd, &st) == 0 && st.st_dev == device && st.st_ino == inode;
}

int FolderWalk::reopenBelowOpen(std::size_t target, const std::function<int(std::size_t)> &fdOf,
                                const std::function<FolderKey(std::size_t)> &key) const
{
    std::size_t at = target;
    while (at > 0 && fdOf(at - 1) < 0)
        --at;
    int fd = -1;
    if (at == 0) {
        fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } else {
        --at;
        fd = dup(fdOf(at));
    }
    while (fd >= 0) {
        const FolderKey level = key(at);
        if (!isFolder(fd, level.device, level.inode)) {
            ::close(fd);
            errno = ESTALE;
            return -1;
        }
        if (at == target)
            return fd;
        const std::size_t end = key(++at).pathLength - 1;
        const std::string name = m_path.substr(level.pathLength, end - level.pathLength);
        // O_NOFOLLOW: a folder swapped for a link meanwhile is not entered.
        const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(fd);
        errno = error;
        fd = next;
    }
    return -1;
}

} // namespace tunefold
