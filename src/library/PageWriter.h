// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

namespace tunefold {

// A complete HTML5 page in UTF-8 that any browser shows as it is: a table of
// the files with their tags, each name a relative link to its file, and a
// closing line with the totals. Nothing from a name or a tag can make markup,
// and the page loads nothing and runs nothing.
class PageWriter final : public ListWriter
{
public:
    PageWriter(OutputFile &output, std::string_view folder, std::string decimalPoint);

    bool writeHeader() override;
    bool writeEntry(const ListEntry &entry) override;
    bool writeFooter() override;

private:
    std::string m_folder;
    std::string m_decimalPoint;
    std::uint64_t m_count = 0;
    std::uint64_t m_seconds = 0;
    std::uint64_t m_bytes = 0;
};

} // namespace tunefold
