// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderWalk.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tunefold {

// Folder search in the order people expect: each folder is read to the end
// and its names sorted before anything of it is handed out; then its matches
// come in that order and, recursive, each sub-folder is walked where its
// name falls. Only the names of the folders being walked are held (the
// innermost one and those above it), so memory follows the largest folder,
// not the tree. Entries are what PosixFolderSearch would give, with
// the same rules for links, loops and folders that cannot be read.
class NaturalFolderSearch final : public FolderWalk
{
public:
    using NameSorter = std::function<void(std::vector<std::string> &names)>;

    NaturalFolderSearch(bool recursive, NameSorter sort, ProblemReport report = {},
                        std::size_t maxOpenFolders = 16);
    ~NaturalFolderSearch() override;

    [[nodiscard]] bool findNext(FolderEntry &entry) override;
    void close() override;

private:
    [[nodiscard]] bool openFolder() override;

    struct Level
    {
        int fd = -1; // -1 once closed to stay within maxOpenFolders
        dev_t device = 0;
        ino_t inode = 0;
        std::size_t pathLength = 0;       // of the relative path up to and with its "/"
        std::vector<std::string> names;   // matches and sub-folders, in order
        std::vector<unsigned char> kinds; // Match and Folder bits, by name
        std::size_t next = 0;
    };

    [[nodiscard]] bool readFolder(int fd, std::size_t pathLength);
    void enter(const std::string &name);
    [[nodiscard]] int levelFd(Level &level);
    void closeShallowest();
    void popLevel();

    NameSorter m_sort;
    std::vector<Level> m_levels;
    bool m_matchGiven = false; // the name at the innermost level's next was handed out
};

} // namespace tunefold
