// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/CsvWriter.h"

#include "library/TextEscapes.h"
#include "platform/TrackReader.h"

namespace tunefold {

namespace {

void appendCount(std::string &out, std::uint64_t value, bool known)
{
    out += ',';
    if (known)
        appendNumber(out, value);
}

} // namespace

bool CsvWriter::writeHeader()
{
    m_block += "path,size,title,artist,album,disc,track,year,genre,seconds,bitrate\r\n";
    return flushIfFull();
}

void CsvWriter::appendField(std::string_view text)
{
    m_field.clear();
    appendText(m_field, text, TextRule::Csv);
    if (m_field.find_first_of(",\"\r\n") == std::string::npos) {
        m_block += m_field;
        return;
    }
    m_block += '"';
    for (const char c : m_field) {
        if (c == '"')
            m_block += '"';
        m_block += c;
    }
    m_block += '"';
}

bool CsvWriter::writeEntry(const ListEntry &entry)
{
    // A file that is not audio shows nothing a tag may claim about it.
    static const TrackInfo Unknown;
    const TrackInfo &track = entry.track && entry.track->audio ? *entry.track : Unknown;
    appendField(entry.path);
    appendCount(m_block, entry.size, true);
    for (const std::string *text : {&track.title, &track.artist, &track.album}) {
        m_block += ',';
        appendField(*text);
    }
    appendCount(m_block, track.disc, track.disc > 0);
    appendCount(m_block, track.track, track.track > 0);
    appendCount(m_block, track.year, track.year > 0);
    m_block += ',';
    appendField(track.genre);
    m_block += ',';
    if (track.milliseconds >= 0) {
        const auto milliseconds = std::uint64_t(track.milliseconds);
        appendNumber(m_block, milliseconds / 1000);
        m_block += '.';
        m_block += char('0' + milliseconds / 100 % 10);
        m_block += char('0' + milliseconds / 10 % 10);
        m_block += char('0' + milliseconds % 10);
    }
    appendCount(m_block, std::uint64_t(std::max(track.kilobitsPerSecond, 0)),
                track.kilobitsPerSecond > 0);
    m_block += "\r\n";
    return flushIfFull();
}

} // namespace tunefold
