// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderWalk.h"

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
class PosixFolderSearch final : public FolderWalk
{
public:
    PosixFolderSearch() : PosixFolderSearch(false) {}
    explicit PosixFolderSearch(bool recursive, ProblemReport report = {},
                               std::size_t maxOpenFolders = 16);
    ~PosixFolderSearch() override;

    [[nodiscard]] bool findNext(FolderEntry &entry) override;
    void close() override;

private:
    [[nodiscard]] bool openFolder() override;

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
    void popLevel();

    bool m_descend = false; // the last entry read is a folder to enter next
    std::vector<Level> m_levels;
};

} // namespace tunefold
