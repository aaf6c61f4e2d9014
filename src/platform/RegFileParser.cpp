// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileParser.h"

#include "platform/RegistryStore.h"

#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <utility>

namespace tunefold {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A read position in one line. Every read checks the end, so no input can
// lead it astray.
struct Cursor
{
    QByteArrayView text;
    qsizetype pos = 0;

    [[nodiscard]] bool atEnd() const { return pos >= text.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : text[pos]; }

    void skipBlanks()
    {
        while (!atEnd() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
    }

    bool take(char c)
    {
        if (atEnd() || text[pos] != c)
            return false;
        ++pos;
        return true;
    }

    // word must be lower case; the input may use any case.
    bool takeWord(QByteArrayView word)
    {
        if (text.size() - pos < word.size())
            return false;
        if (RegFileParser::foldCase(text.sliced(pos, word.size())) != word)
            return false;
        pos += word.size();
        return true;
    }

    // True when only blanks or a comment remain.
    bool atLineEnd()
    {
        skipBlanks();
        return atEnd() || text[pos] == ';';
    }
};

// "..." with the escapes \\ and \"; any other escape makes the line invalid.
// With line, the buffer that in reads, the text is unescaped to the front of
// that buffer and handed back in it, which takes no memory beyond the line's:
// a long value costs its line once, not twice. in may read on, as nothing is
// written past where it stands.
std::optional<QByteArray> readQuoted(Cursor &in, QByteArray *line = nullptr)
{
    if (!in.take('"'))
        return std::nullopt;
    QByteArray out;
    if (line == nullptr)
        out.reserve(in.text.size() - in.pos + 1); // one allocation, with a closing zero
    char *next = line == nullptr ? nullptr : line->data();
    const auto add = [&](const char *from, qsizetype size) {
        if (next == nullptr)
            out.append(from, size);
        else
            next = std::copy(from, from + size, next); // moves bytes forward only
    };
    while (!in.atEnd()) {
        // Runs of plain bytes are copied whole.
        const QByteArrayView rest = in.text.sliced(in.pos);
        const auto special = std::find_if(rest.begin(), rest.end(),
                                          [](char c) { return c == '"' || c == '\\'; });
        add(rest.data(), special - rest.begin());
        in.pos += special - rest.begin();
        if (in.atEnd())
            break;
        if (in.text[in.pos++] == '"') {
            if (next != nullptr) {
                out = std::move(*line);
                out.truncate(next - out.constData());
            } else if (out.capacity() > 2 * out.size() + 64) {
                out.squeeze();
            }
            return out;
        }
        const char escaped = in.peek();
        if (escaped != '\\' && escaped != '"')
            return std::nullopt;
        ++in.pos;
        add(&escaped, 1);
    }
    return std::nullopt; // the line ended inside the quotes
}

// One to maxDigits hexadecimal digits, no more.
std::optional<quint32> readHexNumber(Cursor &in, int maxDigits)
{
    quint32 value = 0;
    int digits = 0;
    for (int digit = hexDigit(in.peek()); !in.atEnd() && digit >= 0; digit = hexDigit(in.peek())) {
        if (++digits > maxDigits)
            return std::nullopt;
        value = value << 4 | quint32(digit);
        ++in.pos;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

enum class ListEnd { Complete, Continues };

// "01,02,ff" to the end of the line, appended to out; a last "," is allowed,
// and a last "\" says that the list goes on in the next line.
std::optional<ListEnd> readHexList(Cursor &in, QByteArray &out)
{
    for (;;) {
        in.skipBlanks();
        if (in.take('\\'))
            return in.atLineEnd() ? std::optional(ListEnd::Continues) : std::nullopt;
        if (in.atLineEnd())
            return ListEnd::Complete;
        const auto byte = readHexNumber(in, 2);
        if (!byte)
            return std::nullopt;
        out += char(*byte);
        in.skipBlanks();
        if (in.take(','))
            continue;
        if (in.take('\\'))
            return in.atLineEnd() ? std::optional(ListEnd::Continues) : std::nullopt;
        return in.atLineEnd() ? std::optional(ListEnd::Complete) : std::nullopt;
    }
}

// The first line of a file in the newer export format.
constexpr QByteArrayView Version5Header = "Windows Registry Editor Version 5.00";

// Empty levels dropped, ASCII folded, into out (whose capacity is reused).
void normalizePath(QByteArrayView path, QByteArray &out)
{
    out.resize(path.size()); // the most it can take; written through a pointer, as
    char *next = out.data(); // every section line of a file passes here
    bool separate = false;
    for (const char c : path) {
        if (c == '\\') {
            separate = next != out.data();
            continue;
        }
        if (separate)
            *next++ = '\\';
        separate = false;
        *next++ = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    out.resize(next - out.data());
}

// True when path lies somewhere below ancestor.
bool isBelow(const QByteArray &path, const QByteArray &ancestor)
{
    return path.size() > ancestor.size() && path.startsWith(ancestor) &&
           path[ancestor.size()] == '\\';
}

} // namespace

QByteArray RegFileParser::keyPath(QByteArrayView path)
{
    QByteArray normalized;
    normalizePath(path, normalized);
    return normalized;
}

QByteArray RegFileParser::foldCase(QByteArrayView text)
{
    QByteArray folded(text.data(), text.size());
    for (char &c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return folded;
}

RegFileParser::RegFileParser(const QByteArray &path) : m_path(path) {}

RegKey RegFileParser::readKey(QByteArrayView file, const QByteArray &path)
{
    RegFileParser parser(path);
    parser.feed(file);
    return parser.finish();
}

void RegFileParser::feed(QByteArrayView piece)
{
    if (m_encoding == Encoding::Unknown) {
        // The byte order mark decides, once three bytes or the end are seen.
        m_line += piece;
        if (m_line.size() >= 3)
            startText();
        return;
    }
    if (m_encoding == Encoding::Utf16)
        feedText(QString((*m_utf16)(piece)).toUtf8());
    else
        feedText(piece);
}

RegKey RegFileParser::finish()
{
    if (m_encoding == Encoding::Unknown)
        startText();
    if (!m_line.isEmpty())
        takeLine(m_line); // the last line, without a line end
    // A list still waiting for its next line is incomplete and is dropped.
    return std::move(m_key);
}

void RegFileParser::startText()
{
    const QByteArray head = std::exchange(m_line, {});
    if (head.startsWith("\xFF\xFE")) {
        m_encoding = Encoding::Utf16;
        m_utf16.emplace(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
        feed(QByteArrayView(head).sliced(2));
        return;
    }
    m_encoding = Encoding::Utf8;
    // A byte order mark, as editors may add.
    feedText(head.startsWith("\xEF\xBB\xBF") ? QByteArrayView(head).sliced(3) : head);
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
            takeLine(QByteArrayView(pos, lineEnd));
        } else {
            m_line.append(pos, lineEnd - pos);
            takeLine(m_line);
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
        Cursor in{start};
        in.skipBlanks();
        start = start.sliced(in.pos);
        if (start.isEmpty())
            return;
    }
    // Only a section, a line of the key asked for or the header can change
    // the key: other lines, however long, are not held.
    const char first = m_line.isEmpty() ? start[0] : m_line[0];
    if (first != '[' && !m_inKey && !m_pending && !m_firstLine) {
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

void RegFileParser::takeLine(QByteArrayView line)
{
    if (m_firstLine) {
        m_firstLine = false;
        m_version5 = line.trimmed() == Version5Header;
    }
    Cursor in{line};
    const bool blankOrComment = in.atLineEnd();
    if (m_pending) {
        // A comment between the lines of a list leaves it waiting, as an
        // import does; a blank line ends it.
        if (blankOrComment && !in.atEnd())
            return;
        if (continueHexList(line))
            return;
    }
    if (blankOrComment)
        return;
    const QByteArrayView rest = line.sliced(in.pos);
    if (rest.startsWith('['))
        takeSection(rest);
    else if (m_inKey && (rest.startsWith('@') || rest.startsWith('"')))
        takeValue(rest);
    // Anything else, the headers included, says nothing about keys. Values
    // of other keys are not even parsed: the key asked for cannot see them,
    // and none of their lines could be read as one of its own.
}

bool RegFileParser::continueHexList(QByteArrayView line)
{
    Cursor in{line};
    const auto end = readHexList(in, m_pendingValue.data);
    if (!end) {
        m_pending = false; // the value is dropped, and the line is read afresh
        return false;
    }
    if (*end == ListEnd::Complete) {
        m_pending = false;
        setHexValue(std::move(m_pendingName), std::move(m_pendingValue));
    }
    return true;
}

void RegFileParser::takeSection(QByteArrayView line)
{
    m_inKey = false;
    // The first "]" that only blanks or a comment follow closes the path;
    // one before it is part of a name. Without one the line names no key.
    qsizetype close = line.indexOf(']');
    for (; close >= 0; close = line.indexOf(']', close + 1)) {
        Cursor after{line, close + 1};
        if (after.atLineEnd())
            break;
    }
    if (close < 0)
        return;
    QByteArrayView path = line.sliced(1, close - 1);
    const bool deletes = path.startsWith('-');
    if (deletes)
        path = path.sliced(1);
    normalizePath(path, m_section);
    if (m_section.isEmpty())
        return;

    if (deletes) {
        if (m_section == m_path || isBelow(m_path, m_section))
            m_key = RegKey(); // values after "[-key]" belong to no key
        return;
    }
    m_inKey = m_section == m_path;
    if (m_inKey || isBelow(m_section, m_path))
        m_key.exists = true;
}

void RegFileParser::takeValue(QByteArrayView line)
{
    Cursor in{line};
    QByteArray name; // "@" is the unnamed value, ""
    if (!in.take('@')) {
        auto quoted = readQuoted(in);
        if (!quoted)
            return;
        name = std::move(*quoted);
    }
    in.skipBlanks();
    if (!in.take('='))
        return;
    in.skipBlanks();

    RegValue value;
    if (in.take('-')) {
        if (in.atLineEnd())
            m_key.values.remove(foldCase(name));
        return;
    }
    if (in.peek() == '"') {
        // A line held across pieces of the file is the parser's own.
        const bool held = line.data() >= m_line.constData() &&
                          line.data() < m_line.constData() + m_line.size();
        auto text = readQuoted(in, held ? &m_line : nullptr);
        if (!text || !in.atLineEnd())
            return;
        text->append('\0');
        m_key.values.insert(foldCase(name), {REG_SZ, std::move(*text)});
        return;
    }
    if (in.takeWord("dword:")) {
        const auto number = readHexNumber(in, 8);
        if (!number || !in.atLineEnd())
            return;
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            value.data += char((*number >> shift) & 0xFF);
        m_key.values.insert(foldCase(name), std::move(value));
        return;
    }
    value.type = REG_BINARY;
    if (in.takeWord("hex(")) {
        const auto type = readHexNumber(in, 8);
        if (!type || !in.take(')'))
            return;
        value.type = *type;
    } else if (!in.takeWord("hex")) {
        return; // anything unknown
    }
    if (!in.take(':'))
        return;
    const auto end = readHexList(in, value.data);
    if (!end)
        return;
    if (*end == ListEnd::Continues) {
        m_pending = true;
        m_pendingName = std::move(name);
        m_pendingValue = std::move(value);
        return;
    }
    setHexValue(std::move(name), std::move(value));
}

void RegFileParser::setHexValue(QByteArray name, RegValue value)
{
    // The newer format stores every string as UTF-16LE; the store hands
    // strings back in the narrow encoding, whichever format they came from.
    if (m_version5 &&
        (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ)) {
        QStringDecoder decoder(QStringConverter::Utf16LE,
                               QStringConverter::Flag::ConvertInitialBom |
                                   QStringConverter::Flag::Stateless);
        value.data = QString(decoder(value.data)).toUtf8();
    }
    m_key.values.insert(foldCase(name), std::move(value));
}

} // namespace tunefold
