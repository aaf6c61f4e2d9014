// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

namespace tunefold {

// A complete HTML5 page in UTF-8 that any browser shows as it is: for each
// folder a table of its files with their tags, each name a link to its file,
// under a caption with the folder's path, its totals and its cover picture;
// then a closing line with the totals of all. A folder's rows are held until
// the next folder begins, since its caption comes first; a folder that the
// order splits (the file system's order) gets one table for each part.
// Nothing from a name or a tag can make markup, and the page runs nothing
// and loads nothing but the covers.
class PageWriter final : public ListWriter
{
public:
    PageWriter(OutputFile &output, ListSetup setup);

    bool writeHeader() override;
    bool writeEntry(const ListEntry &entry) override;
    bool writeFooter() override;

private:
    struct Totals
    {
        std::uint64_t count = 0, milliseconds = 0, bytes = 0;
        void add(const Totals &other);
    };

    void appendTotals(std::string &out, const Totals &totals, const char *inAll) const;
    void endSection();

    ListSetup m_setup;
    std::string m_folder; // of the section being gathered
    std::string m_rows;
    bool m_inSection = false;
    Totals m_section, m_all;
};

} // namespace tunefold
