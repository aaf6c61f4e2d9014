// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/PlaylistWriter.h"

#include "library/TextEscapes.h"
#include "platform/TrackReader.h"

namespace tunefold {

const char *PlaylistWriter::refusal(std::string_view path) const
{
    return path.find_first_of("\r\n") == std::string_view::npos
               ? nullptr
               : "a line break in the name cannot stand in an M3U playlist";
}

bool PlaylistWriter::writeHeader()
{
    m_block += "#EXTM3U\n";
    return flushIfFull();
}

bool PlaylistWriter::writeEntry(const ListEntry &entry)
{
    static const TrackInfo Unknown;
    const TrackInfo &track = entry.track ? *entry.track : Unknown;
    m_block += "#EXTINF:";
    if (track.milliseconds >= 0)
        appendNumber(m_block, wholeSeconds(std::uint64_t(track.milliseconds)));
    else
        m_block += "-1";
    m_block += ',';
    if (!track.artist.empty()) {
        appendText(m_block, track.artist, TextRule::Plain);
        m_block += " - ";
    }
    if (!track.title.empty()) {
        appendText(m_block, track.title, TextRule::Plain);
    } else {
        // Players show the file's name without its folders and suffix.
        std::string_view name = entry.path.substr(entry.path.rfind('/') + 1);
        if (const std::size_t dot = name.rfind('.'); dot != 0 && dot != std::string_view::npos)
            name = name.substr(0, dot);
        appendText(m_block, name, TextRule::Plain);
    }
    m_block += '\n';
    // A line that starts with "#" is a comment to players, and some drop
    // leading blanks; "./" keeps such a name the file's.
    const char first = entry.path.empty() ? '\0' : entry.path.front();
    if (first == '#' || first == ' ' || first == '\t')
        m_block += "./";
    m_block += entry.path;
    m_block += '\n';
    return flushIfFull();
}

bool PlaylistWriter::writeFooter()
{
    return flush();
}

} // namespace tunefold
