// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileParser.h"

#include "platform/RegLineCursor.h"

#include <algorithm>
#include <utility>

namespace tunefold {

QByteArray RegFileParser::keyPath(QByteArrayView path)
{
    return RegKeyImport::keyPath(path);
}

QByteArray RegFileParser::foldCase(QByteArrayView text)
{
    return RegKeyImport::foldCase(text);
}

RegFileParser::RegFileParser(const QByteArray &path) : m_import(path) {}

RegKey RegFileParser::readKey(QByteArrayView file, const QByteArray &path)
{
    RegFileParser parser(path);
    parser.feed(file);
    return parser.finish();
}

void RegFileParser::feed(QByteArrayView piece)
{
    feedText(m_decoder.decode(piece));
}

RegKey RegFileParser::finish()
{
    feedText(m_decoder.finish());
    if (!m_line.isEmpty())
        m_import.takeHeldLine(m_line); // the last line, without a line end
    return m_import.finish();
}

void RegFileParser::feedText(QByteArrayView text)
{
    const char *const end = text.data() + text.size();
    const char *pos = text.data();
    while (pos < end) {
        if (m_afterCr) {
            // CR LF, CR CR LF and a lone CR end a line as LF does.
            while (pos < end && *pos == '\r')
                ++pos;
            if (pos == end)
                return;
            if (*pos == '\n')
                ++pos;
            m_afterCr = false;
            continue;
        }
        const char *lineEnd = std::find_if(pos, end, [](char c) { return c == '\n' || c == '\r'; });
        if (lineEnd == end) {
            carry(QByteArrayView(pos, lineEnd)); // the rest comes with the next piece
            return;
        }
        if (std::exchange(m_skipLine, false)) {
            // a line that could not change the key
        } else if (m_line.isEmpty()) {
            m_import.takeLine(QByteArrayView(pos, lineEnd));
        } else {
            m_line.append(pos, lineEnd - pos);
            m_import.takeHeldLine(m_line);
            m_line.resize(0);
        }
        m_afterCr = *lineEnd == '\r';
        pos = lineEnd + 1;
    }
}

void RegFileParser::carry(QByteArrayView start)
{
    if (m_skipLine)
        return;
    if (m_line.isEmpty()) {
        // Blanks at the start of a line mean nothing, however many.
        RegLineCursor in{start};
        in.skipBlanks();
        start = start.sliced(in.pos);
        if (start.isEmpty())
            return;
    }
    // Only a section, a line of the key asked for or the header can change
    // the key: other lines, however long, are not held.
    if (!m_import.mayChangeKey(m_line.isEmpty() ? start[0] : m_line[0])) {
        m_line.resize(0);
        m_skipLine = true;
        return;
    }
    // Large steps: each step may copy the line, and the room not yet used
    // takes no memory.
    if (m_line.size() + start.size() > m_line.capacity())
        m_line.reserve(4 * (m_line.size() + start.size()));
    m_line += start;
}

} // namespace tunefold
