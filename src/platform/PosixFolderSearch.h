// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderSearch.h"

#include <dirent.h>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tunefold {

// Folder search on opendir/readdir. Every kind of entry can match: files,
// folders, hidden entries, links. A regular file's size is its size, links
// followed; anything else, a broken link included, has size 0. An entry that
// vanishes between being read and being looked at is skipped.
//
// Recursive, it also descends into sub-folders, depth first in the order the
// file system gives, and names entries by their path below the folder
// searched. A folder reached through a symbolic link is not entered (its link
// is listed like any entry), nor is one that is its own ancestor (a bind
// mount), so no walk can loop. Open descriptors stay bounded however deep or
// wide the tree, and memory grows only with the path being walked: beyond a
// few open levels the shallowest are closed, and found again on the way back
// up from the folder below them (through ".."), or else name by name from the
// deepest level still open, never by a whole path; each is checked by device
// and inode to be the folder it was.
class PosixFolderSearch final : public FolderSearch
{
public:
    // Told about a sub-folder that could not be read: its path as the folder
    // given to findFirstOf joined with its relative name, and errno.
    using ProblemReport = std::function<void(std::string_view path, int error)>;

    PosixFolderSearch() = default;
    explicit PosixFolderSearch(bool recursive, ProblemReport report = {},
                               std::size_t maxOpenFolders = 16);
    ~PosixFolderSearch() override;
    PosixFolderSearch(const PosixFolderSearch &) = delete;
    PosixFolderSearch &operator=(const PosixFolderSearch &) = delete;

    [[nodiscard]] bool findFirstOf(std::string_view folder,
                                   std::span<const std::string> namePatterns,
                                   FolderEntry &entry) override;
    [[nodiscard]] bool findNext(FolderEntry &entry) override;
    void close() override;

    [[nodiscard]] bool partial() const override { return m_partial; }

private:
    struct Level
    {
        DIR *dir = nullptr;
        long position = 0; // where to go on once reopened, when dir was closed
        dev_t device = 0;
        ino_t inode = 0;
        std::size_t pathLength = 0; // of the relative path up to and with its "/"
    };

    void enterPending();
    [[nodiscard]] bool reopen(Level &level);
    [[nodiscard]] bool attach(Level &level, int fd);
    void closeShallowest();
    void report(std::size_t pathLength, int error);
    void popLevel();

    bool m_recursive = false;
    ProblemReport m_report;
    std::size_t m_maxOpen = 16;
    std::size_t m_open = 0;
    bool m_partial = false;
    bool m_descend = false; // the last entry read is a folder to enter next
    std::string m_folder;   // as given in the pattern
    std::vector<std::string> m_namePatterns;
    std::string m_path; // relative path of the current entry
    std::vector<Level> m_levels;
};

} // namespace tunefold
