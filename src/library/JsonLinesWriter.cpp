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

// Scripts test a tag the file does not have with `== null`, not `== ""`.
void appendTag(std::string &out, const char *key, std::string_view text)
{
    if (text.empty()) {
        out += key;
        out += "null";
    } else {
        appendString(out, key, text);
    }
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
    // A file that is not audio shows nothing a tag may claim about it.
    static const TrackInfo Unknown;
    const TrackInfo &track = entry.track && entry.track->audio ? *entry.track : Unknown;
    appendString(m_block, "{\"path\":", entry.path);
    if (!isUtf8(entry.path)) {
        m_block += ",\"path_base64\":\"";
        m_block += QByteArray::fromRawData(entry.path.data(), qsizetype(entry.path.size()))
                       .toBase64()
                       .toStdString();
        m_block += '"';
    }
    appendCount(m_block, ",\"size\":", entry.size, true);
    appendTag(m_block, ",\"title\":", track.title);
    appendTag(m_block, ",\"artist\":", track.artist);
    appendTag(m_block, ",\"album\":", track.album);
    appendCount(m_block, ",\"disc\":", track.disc, track.disc > 0);
    appendCount(m_block, ",\"track\":", track.track, track.track > 0);
    appendCount(m_block, ",\"year\":", track.year, track.year > 0);
    appendTag(m_block, ",\"genre\":", track.genre);
    m_block += ",\"seconds\":";
    if (track.milliseconds >= 0) {
        // Milliseconds as a decimal fraction: "2.038", "0.050".
        const auto milliseconds = std::uint64_t(track.milliseconds);
        appendNumber(m_block, milliseconds / 1000);
        m_block += '.';
        const std::uint64_t fraction = milliseconds % 1000;
        m_block += char('0' + fraction / 100);
        m_block += char('0' + fraction / 10 % 10);
        m_block += char('0' + fraction % 10);
    } else {
        m_block += "null";
    }
    appendCount(m_block, ",\"bitrate\":", std::uint64_t(std::max(track.kilobitsPerSecond, 0)),
                track.kilobitsPerSecond > 0);
    m_block += "}\n";
    return flushIfFull();
}

} // namespace tunefold
