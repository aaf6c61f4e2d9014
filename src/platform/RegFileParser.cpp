// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileParser.h"

#include "platform/RegistryStore.h"

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
        if (RegKeyTable::foldCase(text.sliced(pos, word.size())) != word)
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
std::optional<QByteArray> readQuoted(Cursor &in)
{
    if (!in.take('"'))
        return std::nullopt;
    QByteArray out;
    while (!in.atEnd()) {
        const char c = in.text[in.pos++];
        if (c == '"')
            return out;
        if (c == '\\') {
            const char escaped = in.peek();
            if (escaped != '\\' && escaped != '"')
                return std::nullopt;
            ++in.pos;
            out += escaped;
        } else {
            out += c;
        }
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

} // namespace

RegKeyTable RegFileParser::parse(QByteArrayView text)
{
    RegFileParser parser;
    if (text.startsWith("\xEF\xBB\xBF")) // a byte order mark, as editors may add
        text = text.sliced(3);
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(pos, end - pos);
        if (line.endsWith('\r'))
            line = line.first(line.size() - 1);
        parser.takeLine(line);
        pos = end + 1;
    }
    // A list still waiting for its next line is incomplete and is dropped.
    return std::move(parser.m_table);
}

void RegFileParser::takeLine(QByteArrayView line)
{
    if (m_pending && continueHexList(line))
        return;
    Cursor in{line};
    if (in.atLineEnd())
        return; // blank or a comment
    const QByteArrayView rest = line.sliced(in.pos);
    if (rest.startsWith('['))
        takeSection(rest);
    else if (m_section >= 0 && (rest.startsWith('@') || rest.startsWith('"')))
        takeValue(rest);
    // Anything else, the "REGEDIT4" header included, says nothing about keys.
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
        m_table.setValue(m_section, m_pendingName, std::move(m_pendingValue));
    }
    return true;
}

void RegFileParser::takeSection(QByteArrayView line)
{
    m_section = -1;
    const QByteArrayView section = line.trimmed();
    if (section.size() < 3 || !section.endsWith(']'))
        return;
    const QByteArrayView path = section.sliced(1, section.size() - 2);
    if (path.startsWith('-'))
        return; // "[-key]" deletes a key in an import; a store has nothing to delete
    m_section = m_table.addKey(path);
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
    if (in.peek() == '"') {
        auto text = readQuoted(in);
        if (!text || !in.atLineEnd())
            return;
        text->append('\0');
        value = {REG_SZ, std::move(*text)};
    } else if (in.takeWord("dword:")) {
        const auto number = readHexNumber(in, 8);
        if (!number || !in.atLineEnd())
            return;
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            value.data += char((*number >> shift) & 0xFF);
    } else {
        value.type = REG_BINARY;
        if (in.takeWord("hex(")) {
            const auto type = readHexNumber(in, 8);
            if (!type || !in.take(')'))
                return;
            value.type = *type;
        } else if (!in.takeWord("hex")) {
            return; // "-" (delete) or anything unknown
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
    }
    m_table.setValue(m_section, name, std::move(value));
}

} // namespace tunefold
