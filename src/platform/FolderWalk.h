// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderSearch.h"

#include <algorithm>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace tunefold {

// What both folder walks keep of a search under way and how they treat a
// sub-folder: the folder and patterns as given, the relative path of the
// entry at hand, the count of open folders, and the report of a sub-folder
// that cannot be read.
class FolderWalk : public FolderSearch
{
public:
    // Told about a sub-folder that could not be read: its path as the folder
    // given to findFirstOf joined with its relative name, and errno.
    using ProblemReport = std::function<void(std::string_view path, int error)>;

    FolderWalk(const FolderWalk &) = delete;
    FolderWalk &operator=(const FolderWalk &) = delete;

    [[nodiscard]] bool findFirstOf(std::string_view folder,
                                   std::span<const std::string> namePatterns,
                                   FolderEntry &entry) final;
    [[nodiscard]] bool partial() const override { return m_partial; }

protected:
    FolderWalk(bool recursive, ProblemReport report, std::size_t maxOpenFolders);

    // Opens m_folder as the first level of a new walk; false when it cannot
    // be read.
    [[nodiscard]] virtual bool openFolder() = 0;
    [[nodiscard]] bool matches(std::string_view name) const;
    // Reports the sub-folder named by the first pathLength bytes of m_path.
    void report(std::size_t pathLength, int error);

    // Opens name below parentFd as the sub-folder named by the first
    // pathLength bytes of m_path, unless it is the folder of one of levels
    // (a bind mount of an ancestor); st is filled with its stat. Returns -1,
    // after reporting it, when it cannot be opened, except when it vanished
    // or became a link since readdir saw it.
    template <typename Levels>
    [[nodiscard]] int openSubFolder(int parentFd, const char *name, std::size_t pathLength,
                                    const Levels &levels, struct stat &st)
    {
        const int fd = openSubFolder(parentFd, name, pathLength, st);
        if (fd < 0)
            return -1;
        const bool ancestor = std::any_of(levels.begin(), levels.end(), [&](const auto &level) {
            return level.device == st.st_dev && level.inode == st.st_ino;
        });
        return ancestor ? refuseLoop(fd, pathLength) : fd;
    }
    // Whether fd is open on the folder of that device and inode.
    [[nodiscard]] static bool isFolder(int fd, dev_t device, ino_t inode);

    // What a level of either walk is known by.
    struct FolderKey
    {
        dev_t device;
        ino_t inode;
        std::size_t pathLength; // of the relative path up to and with its "/"
    };
    // The folder of levels[target], closed to stay within maxOpenFolders,
    // found again below the deepest level still open (fdOf gives a level's
    // descriptor, -1 once closed), or below the folder given when none is:
    // one name of m_path at a time, each step checked by device and inode,
    // as the whole path of a deep level can pass what open() takes. Returns
    // -1 with errno set when it cannot be found.
    template <typename Levels, typename FdOf>
    [[nodiscard]] int reopenBelowOpen(const Levels &levels, std::size_t target, FdOf fdOf) const
    {
        return reopenBelowOpen(
            target, [&](std::size_t i) { return fdOf(levels[i]); },
            [&](std::size_t i) {
                return FolderKey{levels[i].device, levels[i].inode, levels[i].pathLength};
            });
    }

    bool m_recursive;
    ProblemReport m_report;
    std::size_t m_maxOpen;
    std::size_t m_open = 0;
    bool m_partial = false;
    std::string m_folder; // as given in the pattern
    std::vector<std::string> m_namePatterns;
    std::string m_path; // relative path of the current entry

private:
    [[nodiscard]] int openSubFolder(int parentFd, const char *name, std::size_t pathLength,
                                    struct stat &st);
    [[nodiscard]] int reopenBelowOpen(std::size_t target,
                                      const std::function<int(std::size_t)> &fdOf,
                                      const std::function<FolderKey(std::size_t)> &key) const;
    [[nodiscard]] int refuseLoop(int fd, std::size_t pathLength);
};

} // namespace tunefold
