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
    "table{border-collapse:collapse;width:100%;margin-bottom:2em}\n"
    "caption{text-align:left;font-weight:600;padding:.5em 0}\n"
    "caption img{width:4em;height:4em;object-fit:cover;vertical-align:middle;"
    "margin-right:.7em}\n"
    "caption small{font-weight:400;color:#555;margin-left:.7em}\n"
    "th,td{padding:.35em .7em;text-align:left;border-bottom:1px solid #ddd;"
    "vertical-align:top}\n"
    "th{background:#f0f0f0}\n"
    "tbody tr:nth-child(even){background:#fafafa}\n"
    ".n{text-align:right;white-space:nowrap;font-variant-numeric:tabular-nums}\n"
    ".na{color:#888;font-style:italic}\n"
    "a{color:#0645ad}\n"
    "p{color:#555}\n"
    "</style>\n";

constexpr std::string_view TableHead =
    "<thead><tr><th>Name</th><th>Title</th><th>Artist</th><th>Album</th>"
    "<th class=\"n\">Year</th><th>Genre</th><th class=\"n\">Disc</th>"
    "<th class=\"n\">Track</th><th class=\"n\">Length</th><th class=\"n\">Bit rate</th>"
    "<th class=\"n\">Size</th></tr></thead>\n<tbody>\n";

void appendCell(std::string &out, std::string_view text)
{
    out += "<td>";
    appendText(out, text, TextRule::Html);
    out += "</td>";
}

void appendNumberCell(std::string &out, std::uint64_t value)
{
    out += "<td class=\"n\">";
    if (value > 0)
        appendNumber(out, value);
    out += "</td>";
}

std::string_view folderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

} // namespace

void PageWriter::Totals::add(const Totals &other)
{
    count += other.count;
    milliseconds += other.milliseconds;
    bytes += other.bytes;
}

PageWriter::PageWriter(OutputFile &output, ListSetup setup)
    : ListWriter(output), m_setup(std::move(setup))
{
}

bool PageWriter::writeHeader()
{
    std::string title = "Music in ";
    appendText(title, m_setup.title, TextRule::Html);
    m_block += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
               "<title>";
    m_block += title;
    m_block += "</title>\n";
    m_block += Style;
    m_block += "</head>\n<body>\n<h1>";
    m_block += title;
    m_block += "</h1>\n";
    return flushIfFull();
}

// "3 files, 12:34, 45.67 MB", the length rounded once from the exact sum.
void PageWriter::appendTotals(std::string &out, const Totals &totals, const char *inAll) const
{
    appendNumber(out, totals.count);
    out += totals.count == 1 ? " file, " : " files, ";
    const std::uint64_t seconds = wholeSeconds(totals.milliseconds);
    appendDuration(out, seconds, seconds >= 3600);
    out += inAll;
    out += ", ";
    appendSizeText(out, totals.bytes, m_setup.decimalPoint);
    out += " MB";
}

void PageWriter::endSection()
{
    if (!m_inSection)
        return;
    m_block += "<table>\n<caption>";
    const std::string cover = m_setup.coverImage ? m_setup.coverImage(m_folder) : std::string();
    if (!cover.empty()) {
        m_block += "<img src=\"";
        m_setup.links.appendUrl(m_block, m_folder.empty() ? cover : m_folder + '/' + cover);
        m_block += "\" alt=\"\" loading=\"lazy\" width=\"64\" height=\"64\">";
    }
    appendText(m_block, m_folder.empty() ? m_setup.title : m_folder, TextRule::Html);
    m_block += "<small>";
    appendTotals(m_block, m_section, "");
    m_block += "</small></caption>\n";
    m_block += TableHead;
    m_block += m_rows;
    m_block += "</tbody>\n</table>\n";
    m_all.add(m_section);
    m_section = {};
    m_rows.clear();
    m_inSection = false;
}

bool PageWriter::writeEntry(const ListEntry &entry)
{
    const std::string_view folder = folderOf(entry.path);
    if (m_inSection && folder != m_folder)
        endSection();
    if (!m_inSection) {
        m_folder.assign(folder);
        m_inSection = true;
    }
    static const TrackInfo Unknown;
    const bool audio = entry.track && entry.track->audio;
    const TrackInfo &track = audio ? *entry.track : Unknown;
    m_rows += audio || !entry.track ? "<tr><td><a href=\"" : "<tr class=\"na\"><td><a href=\"";
    m_setup.links.appendUrl(m_rows, entry.path);
    m_rows += "\">";
    appendText(m_rows, folder.empty() ? entry.path : entry.path.substr(folder.size() + 1),
               TextRule::Html);
    m_rows += "</a></td>";
    appendCell(m_rows, audio || !entry.track ? std::string_view(track.title) : "not audio");
    appendCell(m_rows, track.artist);
    appendCell(m_rows, track.album);
    appendNumberCell(m_rows, track.year);
    appendCell(m_rows, track.genre);
    appendNumberCell(m_rows, track.disc);
    appendNumberCell(m_rows, track.track);
    m_rows += "<td class=\"n\">";
    if (track.milliseconds >= 0) {
        appendDuration(m_rows, wholeSeconds(std::uint64_t(track.milliseconds)));
        m_section.milliseconds += std::uint64_t(track.milliseconds);
    }
    m_rows += "</td><td class=\"n\">";
    if (track.kilobitsPerSecond > 0) {
        appendNumber(m_rows, std::uint64_t(track.kilobitsPerSecond));
        m_rows += " kbit/s";
    }
    m_rows += "</td><td class=\"n\">";
    appendSizeText(m_rows, entry.size, m_setup.decimalPoint);
    m_rows += " MB</td></tr>\n";
    ++m_section.count;
    m_section.bytes += entry.size;
    return flushIfFull();
}

bool PageWriter::writeFooter()
{
    endSection();
    m_block += "<p>";
    appendTotals(m_block, m_all, " in all");
    m_block += ".</p>\n</body>\n</html>\n";
    return flush();
}

} // namespace tunefold
