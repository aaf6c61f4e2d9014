// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/PageWriter.h"

#include "library/TextEscapes.h"
#include "list/ListDocument.h"
#include "platform/TrackReader.h"

namespace tunefold {

namespace {

constexpr std::string_view Style =
    "<style>\n"
    "body{font-family:system-ui,sans-serif;margin:2em;color:#222;background:#fff}\n"
    "h1{font-size:1.4em;font-weight:600}\n"
    "table{border-collapse:collapse;width:100%}\n"
    "th,td{padding:.35em .7em;text-align:left;border-bottom:1px solid #ddd;"
    "vertical-align:top}\n"
    "th{background:#f0f0f0}\n"
    "tbody tr:nth-child(even){background:#fafafa}\n"
    ".n{text-align:right;white-space:nowrap;font-variant-numeric:tabular-nums}\n"
    "a{color:#0645ad}\n"
    "p{color:#555}\n"
    "</style>\n";

constexpr std::string_view TableHead =
    "<table>\n<thead><tr><th>Name</th><th>Title</th><th>Artist</th><th>Album</th>"
    "<th class=\"n\">Track</th><th class=\"n\">Length</th><th class=\"n\">Bit rate</th>"
    "<th class=\"n\">Size</th></tr></thead>\n<tbody>\n";

void appendCell(std::string &out, std::string_view text)
{
    out += "<td>";
    appendText(out, text, TextRule::Html);
    out += "</td>";
}

} // namespace

PageWriter::PageWriter(OutputFile &output, std::string_view folder, std::string decimalPoint)
    : ListWriter(output), m_folder(folder), m_decimalPoint(std::move(decimalPoint))
{
}

bool PageWriter::writeHeader()
{
    std::string title = "Music in ";
    appendText(title, m_folder, TextRule::Html);
    m_block += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
               "<title>";
    m_block += title;
    m_block += "</title>\n";
    m_block += Style;
    m_block += "</head>\n<body>\n<h1>";
    m_block += title;
    m_block += "</h1>\n";
    m_block += TableHead;
    return flushIfFull();
}

bool PageWriter::writeEntry(const ListEntry &entry)
{
    static const TrackInfo Unknown;
    const TrackInfo &track = entry.track ? *entry.track : Unknown;
    m_block += "<tr><td><a href=\"";
    appendUrlPath(m_block, entry.path);
    m_block += "\">";
    appendText(m_block, entry.path, TextRule::Html);
    m_block += "</a></td>";
    appendCell(m_block, track.title);
    appendCell(m_block, track.artist);
    appendCell(m_block, track.album);
    m_block += "<td class=\"n\">";
    if (track.track > 0)
        appendNumber(m_block, track.track);
    m_block += "</td><td class=\"n\">";
    if (track.milliseconds >= 0) {
        const std::uint64_t seconds = wholeSeconds(std::uint64_t(track.milliseconds));
        appendDuration(m_block, seconds);
        m_seconds += seconds;
    }
    m_block += "</td><td class=\"n\">";
    if (track.kilobitsPerSecond > 0) {
        appendNumber(m_block, std::uint64_t(track.kilobitsPerSecond));
        m_block += " kbit/s";
    }
    m_block += "</td><td class=\"n\">";
    appendSizeText(m_block, entry.size, m_decimalPoint);
    m_block += " MB</td></tr>\n";
    ++m_count;
    m_bytes += entry.size;
    return flushIfFull();
}

bool PageWriter::writeFooter()
{
    m_block += "</tbody>\n</table>\n<p>";
    appendNumber(m_block, m_count);
    m_block += m_count == 1 ? " file, " : " files, ";
    appendDuration(m_block, m_seconds, m_seconds >= 3600);
    m_block += " in all, ";
    appendSizeText(m_block, m_bytes, m_decimalPoint);
    m_block += " MB.</p>\n</body>\n</html>\n";
    return flush();
}

} // namespace tunefold
