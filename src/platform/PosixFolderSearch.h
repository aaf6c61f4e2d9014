// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderSearch.h"

#include <dirent.h>
#include <string>

namespace tunefold {

// Folder search on opendir/readdir. Every kind of entry can match: files,
// folders, hidden entries, links. A regular file's size is its size, links
// followed; anything else, a broken link included, has size 0. An entry that
// vanishes between being read and being looked at is skipped.
class PosixFolderSearch final : public FolderSearch
{
public:
    PosixFolderSearch() = default;
    ~PosixFolderSearch() override;
    PosixFolderSearch(const PosixFolderSearch &) = delete;
    PosixFolderSearch &operator=(const PosixFolderSearch &) = delete;

    [[nodiscard]] bool findFirst(std::string_view pattern, FolderEntry &entry) override;
    [[nodiscard]] bool findNext(FolderEntry &entry) override;
    void close() override;

private:
    DIR *m_dir = nullptr;
    std::string m_namePattern;
};

} // namespace tunefold
