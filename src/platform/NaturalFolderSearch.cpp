// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NaturalFolderSearch.h"

#include "platform/EntryStat.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace tunefold {

namespace {

constexpr unsigned char Match = 1;
constexpr unsigned char Folder = 2;

} // namespace

NaturalFolderSearch::NaturalFolderSearch(bool recursive, NameSorter sort, ProblemReport report,
                                         std::size_t maxOpenFolders)
    : FolderWalk(recursive, std::move(report), maxOpenFolders), m_sort(std::move(sort))
{
}

NaturalFolderSearch::~NaturalFolderSearch()
{
    close();
}

bool NaturalFolderSearch::openFolder()
{
    const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 && readFolder(fd, 0);
}

// Reads the folder open as fd to the end and makes it the innermost level;
// takes fd over. Returns false, the folder closed, when it cannot be read.
bool NaturalFolderSearch::readFolder(int fd, std::size_t pathLength)
{
    struct stat st;
    const int copy = fstat(fd, &st) == 0 ? fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
    DIR *dir = copy >= 0 ? fdopendir(copy) : nullptr;
    if (!dir) {
        if (copy >= 0)
            ::close(copy);
        report(pathLength, errno);
        ::close(fd);
        return false;
    }
    Level level;
    level.device = st.st_dev;
    level.inode = st.st_ino;
    level.pathLength = pathLength;
    std::unordered_set<std::string> folders;
    while (true) {
        errno = 0;
        const dirent *found = readdir(dir);
        if (!found) {
            if (errno != 0)
                report(pathLength, errno);
            break;
        }
        const std::string_view name(found->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat child;
        const bool folder =
            m_recursive && (found->d_type == DT_UNKNOWN
                                ? fstatat(fd, found->d_name, &child, AT_SYMLINK_NOFOLLOW) == 0 &&
                                      S_ISDIR(child.st_mode)
                                : found->d_type == DT_DIR);
        if (folder)
            folders.emplace(name);
        if (folder || matches(name))
            level.names.emplace_back(name);
    }
    closedir(dir);
    m_sort(level.names);
    for (const std::string &name : level.names)
        level.kinds.push_back((matches(name) ? Match : 0) | (folders.contains(name) ? Folder : 0));
    if (m_open == m_maxOpen)
        closeShallowest();
    level.fd = fd;
    ++m_open;
    m_levels.push_back(std::move(level));
    m_matchGiven = false;
    return true;
}

bool NaturalFolderSearch::findNext(FolderEntry &entry)
{
    while (!m_levels.empty()) {
        Level &level = m_levels.back();
        if (level.next == level.names.size()) {
            popLevel();
            continue;
        }
        const std::size_t i = level.next;
        // A folder whose name matches is listed, then walked, as
        // PosixFolderSearch does.
        if ((level.kinds[i] & Match) && !m_matchGiven) {
            m_matchGiven = true;
            const int fd = levelFd(level);
            if (fd < 0)
                continue;
            const std::optional<EntryStat> stat = statEntry(fd, level.names[i].c_str(), DT_UNKNOWN);
            if (!stat)
                continue;
            m_path.resize(level.pathLength);
            m_path += level.names[i];
            entry.name = m_path;
            entry.size = stat->size;
            entry.regular = stat->regular;
            return true;
        }
        ++level.next;
        m_matchGiven = false;
        if (level.kinds[i] & Folder) {
            const std::string name = std::move(level.names[i]);
            enter(name);
        }
    }
    return false;
}

void NaturalFolderSearch::enter(const std::string &name)
{
    Level &parent = m_levels.back();
    m_path.resize(parent.pathLength);
    m_path += name;
    const std::size_t pathLength = m_path.size();
    const int parentFd = levelFd(parent);
    if (parentFd < 0)
        return;
    struct stat st;
    const int fd = openSubFolder(parentFd, name.c_str(), pathLength, m_levels, st);
    if (fd < 0)
        return;
    m_path += '/';
    (void)readFolder(fd, m_path.size());
}

// The level's folder, found again when it was closed; a folder replaced in
// the meantime is reported, not read as if it were the same.
int NaturalFolderSearch::levelFd(Level &level)
{
    if (level.fd >= 0)
        return level.fd;
    if (m_open == m_maxOpen)
        closeShallowest();
    const int fd = reopenBelowOpen(m_levels, std::size_t(&level - m_levels.data()),
                                   [](const Level &open) { return open.fd; });
    if (fd < 0) {
        report(level.pathLength ? level.pathLength - 1 : 0, errno);
        level.next = level.names.size();
        return -1;
    }
    level.fd = fd;
    ++m_open;
    return fd;
}

void NaturalFolderSearch::closeShallowest()
{
    for (Level &level : m_levels) {
        if (level.fd >= 0) {
            ::close(level.fd);
            level.fd = -1;
            --m_open;
            return;
        }
    }
}

void NaturalFolderSearch::popLevel()
{
    // Coming back up to a level closed to save descriptors: its folder is
    // one step from the one being left, however deep both lie, where its
    // whole path could be past what open() takes.
    const std::size_t count = m_levels.size();
    if (count > 1 && m_levels.back().fd >= 0 && m_levels[count - 2].fd < 0) {
        Level &parent = m_levels[count - 2];
        const int fd = openat(m_levels.back().fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0 && isFolder(fd, parent.device, parent.inode)) {
            parent.fd = fd;
            ++m_open;
        } else if (fd >= 0) {
            ::close(fd);
        }
    }
    if (m_levels.back().fd >= 0) {
        ::close(m_levels.back().fd);
        --m_open;
    }
    m_levels.pop_back();
    m_matchGiven = false;
}

void NaturalFolderSearch::close()
{
    while (!m_levels.empty())
        popLevel();
    m_matchGiven = false;
}

} // namespace tunefold
