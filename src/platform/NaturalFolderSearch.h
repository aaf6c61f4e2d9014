// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderSearch.h"

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
class NaturalFolderSearch final : public FolderSearch
{
public:
    using NameSorter = std::function<void(std::vector<std::string> &names)>;
    // Told about a sub-folder that could not be read: its path as the folder
    // given to findFirstOf joined with its relative name, and errno.
    using ProblemReport = std::function<void(std::string_view path, int error)>;

    NaturalFolderSearch(bool recursive, NameSorter sort, ProblemReport report = {},
                        std::size_t maxOpenFolders = 16);
    ~NaturalFolderSearch() override;
    NaturalFolderSearch(const NaturalFolderSearch &) = delete;
    NaturalFolderSearch &operator=(const NaturalFolderSearch &) = delete;

    [[nodiscard]] bool findFirstOf(std::string_view folder,
                                   std::span<const std::string> namePatterns,
                                   FolderEntry &entry) override;
    [[nodiscard]] bool findNext(FolderEntry &entry) override;
    void close() override;
    [[nodiscard]] bool partial() const override { return m_partial; }

private:
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
    void report(std::size_t pathLength, int error);
    void popLevel();
    [[nodiscard]] bool matches(std::string_view name) const;

    bool m_recursive;
    NameSorter m_sort;
    ProblemReport m_report;
    std::size_t m_maxOpen;
    std::size_t m_open = 0;
    bool m_partial = false;
    std::string m_folder; // as given in the pattern
    std::vector<std::string> m_namePatterns;
    std::string m_path;
    std::vector<Level> m_levels;
    bool m_matchGiven = false; // the name at the innermost level's next was handed out
};

} // namespace tunefold
