// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/JsonLinesWriter.h"

#include "library/TextEscapes.h"
#include "platform/TrackReader.h"

#include <QByteArray>

namespace tunefold {

namespace {

void appendString(std::string &out, const char *key, std::string_view text)
{
    out += key;
    out += '"';
    appendText(out, text, TextRule::Json);
    out += '"';
}

void appendCount(std::string &out, const char *key, std::uint64_t value, bool known)
{
    out += key;
    if (known)
        appendNumber(out, value);
    else
        out += "null";
}

} // namespace

bool JsonLinesWriter::writeEntry(const ListEntry &entry)
{
    static const TrackInfo Unknown;
    const TrackInfo &track = entry.track ? *entry.track : Unknown;
    appendString(m_block, "{\"path\":", entry.path);
    if (!isUtf8(entry.path)) {
        m_block += ",\"path_base64\":\"";
        m_block += QByteArray::fromRawData(entry.path.data(), qsizetype(entry.path.size()))
                       .toBase64()
                       .toStdString();
        m_block += '"';
    }
    appendCount(m_block, ",\"size\":", entry.size, true);
    appendString(m_block, ",\"title\":", track.title);
    appendString(m_block, ",\"artist\":", track.artist);
    appendString(m_block, ",\"album\":", track.album);
    appendCount(m_block, ",\"track\":", track.track, track.track > 0);
    appendCount(m_block,
                ",\"seconds\":", wholeSeconds(std::uint64_t(std::max(track.milliseconds, 0))),
                track.milliseconds >= 0);
    appendCount(m_block, ",\"bitrate\":", std::uint64_t(std::max(track.kilobitsPerSecond, 0)),
                track.kilobitsPerSecond > 0);
    m_block += "}\n";
    return flushIfFull();
}

} // namespace tunefold
