// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegLineCursor.h"

#include <algorithm>
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

} // namespace

void RegLineCursor::skipBlanks()
{
    while (!atEnd() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
}

bool RegLineCursor::take(char c)
{
    if (atEnd() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

bool RegLineCursor::takeWord(QByteArrayView word)
{
    if (text.size() - pos < word.size())
        return false;
    const QByteArrayView next = text.sliced(pos, word.size());
    const bool same = std::equal(next.begin(), next.end(), word.begin(), [](char c, char lower) {
        return (c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) == lower;
    });
    if (!same)
        return false;
    pos += word.size();
    return true;
}

bool RegLineCursor::atLineEnd()
{
    skipBlanks();
    return atEnd() || text[pos] == ';';
}

std::optional<QByteArray> RegLineCursor::readQuoted(QByteArray *line)
{
    if (!take('"'))
        return std::nullopt;
    QByteArray out;
    if (line == nullptr)
        out.reserve(text.size() - pos + 1); // one allocation, with a closing zero
    char *next = line == nullptr ? nullptr : line->data();
    const auto add = [&](const char *from, qsizetype size) {
        if (next == nullptr)
            out.append(from, size);
        else
            next = std::copy(from, from + size, next); // moves bytes forward only
    };
    while (!atEnd()) {
        // Runs of plain bytes are copied whole.
        const QByteArrayView rest = text.sliced(pos);
        const auto special =
            std::find_if(rest.begin(), rest.end(), [](char c) { return c == '"' || c == '\\'; });
        add(rest.data(), special - rest.begin());
        pos += special - rest.begin();
        if (atEnd())
            break;
        if (text[pos++] == '"') {
            if (next != nullptr) {
                out = std::move(*line);
                out.truncate(next - out.constData());
            } else if (out.capacity() > 2 * out.size() + 64) {
                out.squeeze();
            }
            return out;
        }
        const char escaped = peek();
        if (escaped != '\\' && escaped != '"')
            return std::nullopt;
        ++pos;
        add(&escaped, 1);
    }
    return std::nullopt; // the line ended inside the quotes
}

std::optional<quint32> RegLineCursor::readHexNumber(int maxDigits)
{
    quint32 value = 0;
    int digits = 0;
    for (int digit = hexDigit(peek()); !atEnd() && digit >= 0; digit = hexDigit(peek())) {
        if (++digits > maxDigits)
            return std::nullopt;
        value = value << 4 | quint32(digit);
        ++pos;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

std::optional<RegLineCursor::ListEnd> RegLineCursor::readHexList(QByteArray &out)
{
    for (;;) {
        skipBlanks();
        if (take('\\'))
            return atLineEnd() ? std::optional(ListEnd::Continues) : std::nullopt;
        if (atLineEnd())
            return ListEnd::Complete;
        const auto byte = readHexNumber(2);
        if (!byte)
            return std::nullopt;
        out += char(*byte);
        skipBlanks();
        if (take(','))
            continue;
        if (take('\\'))
            return atLineEnd() ? std::optional(ListEnd::Continues) : std::nullopt;
        return atLineEnd() ? std::optional(ListEnd::Complete) : std::nullopt;
    }
}

} // namespace tunefold
