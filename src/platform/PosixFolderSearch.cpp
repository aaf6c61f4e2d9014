// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFolderSearch.h"

#include "platform/NarrowText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace tunefold {

namespace {

// The size to report for a matching entry, or nothing when it has gone.
std::optional<std::uint64_t> entrySize(int folderFd, const dirent &entry)
{
    // The entry's type, when the file system gives it, spares a look-up for
    // folders and devices, whose size is 0 in the list anyway.
    switch (entry.d_type) {
    case DT_REG:
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return 0;
    }
    struct stat st;
    if (fstatat(folderFd, entry.d_name, &st, 0) == 0)
        return S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    if (errno != ENOENT)
        return 0; // a link loop or a folder we may list but not search
    // ENOENT is either a link to nothing, which is listed, or an entry that
    // was removed after readdir saw it, which is not.
    if (fstatat(folderFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return 0;
    return std::nullopt;
}

} // namespace

PosixFolderSearch::~PosixFolderSearch()
{
    close();
}

bool PosixFolderSearch::findFirst(std::string_view pattern, FolderEntry &entry)
{
    close();
    const std::size_t slash = pattern.rfind('/');
    std::string folder;
    if (slash == std::string_view::npos)
        folder = ".";
    else if (slash == 0)
        folder = "/";
    else
        folder.assign(pattern.substr(0, slash));
    m_namePattern.assign(slash == std::string_view::npos ? pattern : pattern.substr(slash + 1));

    m_dir = opendir(folder.c_str());
    if (!m_dir)
        return false;
    return findNext(entry);
}

bool PosixFolderSearch::findNext(FolderEntry &entry)
{
    if (!m_dir)
        return false;
    const int folderFd = dirfd(m_dir);
    while (const dirent *found = readdir(m_dir)) {
        const std::string_view name(found->d_name);
        if (name == "." || name == ".." || !matchesPattern(m_namePattern, name))
            continue;
        const std::optional<std::uint64_t> size = entrySize(folderFd, *found);
        if (!size)
            continue;
        entry.name = name;
        entry.size = *size;
        return true;
    }
    return false;
}

void PosixFolderSearch::close()
{
    if (m_dir) {
        closedir(m_dir);
        m_dir = nullptr;
    }
}

} // namespace tunefold
