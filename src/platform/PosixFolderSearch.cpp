// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFolderSearch.h"

#include "platform/EntryStat.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tunefold {

namespace {

// A folder of its own, not a link to one.
bool isRealFolder(int folderFd, const dirent &entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat st;
    return fstatat(folderFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

PosixFolderSearch::PosixFolderSearch(bool recursive, ProblemReport report,
                                     std::size_t maxOpenFolders)
    : FolderWalk(recursive, std::move(report), maxOpenFolders)
{
}

PosixFolderSearch::~PosixFolderSearch()
{
    close();
}

bool PosixFolderSearch::openFolder()
{
    DIR *dir = opendir(m_folder.c_str());
    if (!dir)
        return false;
    Level root;
    root.dir = dir;
    struct stat st;
    if (fstat(dirfd(dir), &st) == 0) {
        root.device = st.st_dev;
        root.inode = st.st_ino;
    }
    m_levels.push_back(root);
    m_open = 1;
    m_path.reserve(4096);
    return true;
}

bool PosixFolderSearch::findNext(FolderEntry &entry)
{
    while (!m_levels.empty()) {
        if (m_descend) {
            m_descend = false;
            enterPending();
            continue;
        }
        Level &level = m_levels.back();
        if (!level.dir && !reopen(level)) {
            popLevel();
            continue;
        }
        errno = 0;
        const dirent *found = readdir(level.dir);
        if (!found) {
            if (errno != 0)
                report(level.pathLength, errno);
            popLevel();
            continue;
        }
        const std::string_view name(found->d_name);
        if (name == "." || name == "..")
            continue;
        const int folderFd = dirfd(level.dir);
        m_path.resize(level.pathLength);
        m_path += name;
        m_descend = m_recursive && isRealFolder(folderFd, *found);
        if (!matches(name))
            continue;
        const std::optional<EntryStat> stat = statEntry(folderFd, found->d_name, found->d_type);
        if (!stat)
            continue;
        entry.name = m_path;
        entry.size = stat->size;
        entry.regular = stat->regular;
        return true;
    }
    return false;
}

// Opens the folder whose name ends m_path, below the innermost level.
void PosixFolderSearch::enterPending()
{
    Level &parent = m_levels.back();
    if (!parent.dir && !reopen(parent))
        return;
    const std::size_t pathLength = m_path.size();
    struct stat st;
    const int fd = openSubFolder(dirfd(parent.dir), m_path.c_str() + parent.pathLength, pathLength,
                                 m_levels, st);
    if (fd < 0)
        return;
    DIR *dir = fdopendir(fd);
    if (!dir) {
        report(pathLength, errno);
        ::close(fd);
        return;
    }
    if (m_open == m_maxOpen)
        closeShallowest();
    Level child;
    child.dir = dir;
    child.device = st.st_dev;
    child.inode = st.st_ino;
    m_path += '/';
    child.pathLength = m_path.size();
    m_levels.push_back(child);
    ++m_open;
}

void PosixFolderSearch::closeShallowest()
{
    for (Level &level : m_levels) {
        if (level.dir) {
            level.position = telldir(level.dir);
            closedir(level.dir);
            level.dir = nullptr;
            --m_open;
            return;
        }
    }
}

// Takes fd as the closed level when it is the same folder, and goes on where
// the level stopped; a folder replaced in the meantime is not read as if it
// were the same.
bool PosixFolderSearch::attach(Level &level, int fd)
{
    DIR *dir = nullptr;
    if (fd >= 0 && isFolder(fd, level.device, level.inode))
        dir = fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    seekdir(dir, level.position);
    level.dir = dir;
    ++m_open;
    return true;
}

// A closed level, found again to go on where it stopped.
bool PosixFolderSearch::reopen(Level &level)
{
    if (m_open == m_maxOpen)
        closeShallowest();
    const int fd =
        reopenBelowOpen(m_levels, std::size_t(&level - m_levels.data()),
                        [](const Level &open) { return open.dir ? dirfd(open.dir) : -1; });
    if (fd < 0 || !attach(level, fd)) {
        report(level.pathLength ? level.pathLength - 1 : 0, fd < 0 ? errno : ESTALE);
        return false;
    }
    return true;
}

void PosixFolderSearch::popLevel()
{
    // Coming back up past the open levels: the parent is one step away from
    // the folder being left, however deep both lie.
    const std::size_t count = m_levels.size();
    if (count > 1 && m_levels.back().dir && !m_levels[count - 2].dir)
        (void)attach(m_levels[count - 2],
                     openat(dirfd(m_levels.back().dir), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (m_levels.back().dir) {
        closedir(m_levels.back().dir);
        --m_open;
    }
    m_levels.pop_back();
}

void PosixFolderSearch::close()
{
    while (!m_levels.empty())
        popLevel();
    m_descend = false;
}

} // namespace tunefold
