// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

namespace tunefold {

// An extended M3U8 playlist: "#EXTM3U", then for each file an "#EXTINF"
// line with its length in seconds (-1 when unknown) and "Artist - Title",
// and the path that opens it, byte for byte, as links give it. Only files
// read as audio are entries. A path is one line, so a name with a line break
// cannot be written; refusal() says so.
class PlaylistWriter final : public ListWriter
{
public:
    PlaylistWriter(OutputFile &output, EntryLinks links)
        : ListWriter(output), m_links(std::move(links))
    {
    }

    bool lists(const ListEntry &entry) const override;
    const char *refusal(std::string_view path) const override;
    bool writeHeader() override;
    bool writeEntry(const ListEntry &entry) override;
    bool writeFooter() override;

private:
    EntryLinks m_links;
    std::string m_entry;
};

} // namespace tunefold
