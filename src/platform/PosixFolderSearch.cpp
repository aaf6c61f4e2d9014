// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFolderSearch.h"

#include "platform/EntryStat.h"
#include "platform/NarrowText.h"

#include <algorithm>
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

DIR *openFolder(int atFd, const char *path)
{
    // O_NOFOLLOW: a folder swapped for a link after readdir is not entered.
    const int fd = openat(atFd, path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    DIR *dir = fdopendir(fd);
    if (!dir)
        ::close(fd);
    return dir;
}

} // namespace

PosixFolderSearch::PosixFolderSearch(bool recursive, ProblemReport report,
                                     std::size_t maxOpenFolders)
    : m_recursive(recursive), m_report(std::move(report)),
      m_maxOpen(std::max<std::size_t>(maxOpenFolders, 1))
{
}

PosixFolderSearch::~PosixFolderSearch()
{
    close();
}

bool PosixFolderSearch::findFirstOf(std::string_view folder,
                                    std::span<const std::string> namePatterns, FolderEntry &entry)
{
    close();
    m_partial = false;
    m_folder.assign(folder);
    m_namePatterns.assign(namePatterns.begin(), namePatterns.end());

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
    m_path.clear();
    m_path.reserve(4096);
    return findNext(entry);
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
        if (std::none_of(m_namePatterns.begin(), m_namePatterns.end(),
                         [&](const std::string &pattern) { return matchesPattern(pattern, name); }))
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
    DIR *dir = openFolder(dirfd(parent.dir), m_path.c_str() + parent.pathLength);
    if (!dir) {
        // Gone or replaced since readdir saw it: skipped as any vanished entry.
        if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP)
            report(pathLength, errno);
        return;
    }
    struct stat st;
    if (fstat(dirfd(dir), &st) != 0) {
        report(pathLength, errno);
        closedir(dir);
        return;
    }
    const bool ancestor = std::any_of(m_levels.begin(), m_levels.end(), [&](const Level &level) {
        return level.device == st.st_dev && level.inode == st.st_ino;
    });
    if (ancestor) {
        report(pathLength, ELOOP);
        closedir(dir);
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

// Finds a closed level again by its path and goes on where it stopped; a
// folder replaced in the meantime is reported, not read as if it were the
// same.
bool PosixFolderSearch::reopen(Level &level)
{
    const std::string path = m_folder + '/' + m_path.substr(0, level.pathLength);
    if (m_open == m_maxOpen)
        closeShallowest();
    DIR *dir = openFolder(AT_FDCWD, path.c_str());
    struct stat st;
    if (!dir || fstat(dirfd(dir), &st) != 0 || st.st_dev != level.device ||
        st.st_ino != level.inode) {
        report(level.pathLength ? level.pathLength - 1 : 0, dir ? ESTALE : errno);
        if (dir)
            closedir(dir);
        return false;
    }
    seekdir(dir, level.position);
    level.dir = dir;
    ++m_open;
    return true;
}

void PosixFolderSearch::report(std::size_t pathLength, int error)
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

void PosixFolderSearch::popLevel()
{
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
