// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

namespace tunefold {

// An extended M3U8 playlist: "#EXTM3U", then for each file an "#EXTINF"
// line with its length in seconds (-1 when unknown) and "Artist - Title",
// and its path relative to the playlist's folder, byte for byte, since that
// is what opens the file. A path is one line, so a name with a line break
// cannot be written; refusal() says so.
class PlaylistWriter final : public ListWriter
{
public:
    using ListWriter::ListWriter;

    const char *refusal(std::string_view path) const override;
    bool writeHeader() override;
    bool writeEntry(const ListEntry &entry) override;
    bool writeFooter() override;
};

} // namespace tunefold
