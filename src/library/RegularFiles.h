// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FolderSearch.h"

namespace tunefold {

// A search that passes on only regular files: for the formats that list
// tracks, a folder or a broken link whose name matches is no match at all,
// so a folder of nothing else is "no MP3's" before any output is made.
class RegularFiles final : public FolderSearch
{
public:
    explicit RegularFiles(FolderSearch &search) : m_search(search) {}

    bool findFirstOf(std::string_view folder, std::span<const std::string> namePatterns,
                     FolderEntry &entry) override
    {
        return m_search.findFirstOf(folder, namePatterns, entry) &&
               (entry.regular || findNext(entry));
    }
    bool findNext(FolderEntry &entry) override
    {
        while (m_search.findNext(entry)) {
            if (entry.regular)
                return true;
        }
        return false;
    }
    void close() override { m_search.close(); }
    bool partial() const override { return m_search.partial(); }

private:
    FolderSearch &m_search;
};

} // namespace tunefold
