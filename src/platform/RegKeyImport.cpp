// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegKeyImport.h"

#include "platform/RegLineCursor.h"
#include "platform/RegistryStore.h"
#include "platform/StoreTextDecoder.h"

#include <utility>

namespace tunefold {
namespace {

using ListEnd = RegLineCursor::ListEnd;

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

QByteArray RegKeyImport::keyPath(QByteArrayView path)
{
    QByteArray normalized;
    normalizePath(path, normalized);
    return normalized;
}

QByteArray RegKeyImport::foldCase(QByteArrayView text)
{
    QByteArray folded(text.data(), text.size());
    for (char &c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return folded;
}

void RegKeyImport::takeLine(QByteArrayView line, QByteArray *held)
{
    if (m_firstLine) {
        m_firstLine = false;
        m_version5 = line.trimmed() == Version5Header;
    }
    RegLineCursor in{line};
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
        takeValue(rest, held);
    // Anything else, the headers included, says nothing about keys. Values
    // of other keys are not parsed, and none of their lines could be read as
    // one of the key's own.
}

bool RegKeyImport::continueHexList(QByteArrayView line)
{
    RegLineCursor in{line};
    const auto end = in.readHexList(m_pendingValue.data);
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

void RegKeyImport::takeSection(QByteArrayView line)
{
    m_inKey = false;
    // The first "]" that only blanks or a comment follow closes the path;
    // one before it is part of a name. Without one the line names no key.
    qsizetype close = line.indexOf(']');
    for (; close >= 0; close = line.indexOf(']', close + 1)) {
        RegLineCursor after{line, close + 1};
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

void RegKeyImport::takeValue(QByteArrayView line, QByteArray *held)
{
    RegLineCursor in{line};
    QByteArray name; // "@" is the unnamed value, ""
    if (!in.take('@')) {
        auto quoted = in.readQuoted();
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
        auto text = in.readQuoted(held);
        if (!text || !in.atLineEnd())
            return;
        text->append('\0');
        m_key.values.insert(foldCase(name), {REG_SZ, std::move(*text)});
        return;
    }
    if (in.takeWord("dword:")) {
        const auto number = in.readHexNumber(8);
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
        const auto type = in.readHexNumber(8);
        if (!type || !in.take(')'))
            return;
        value.type = *type;
    } else if (!in.takeWord("hex")) {
        return; // anything unknown
    }
    if (!in.take(':'))
        return;
    const auto end = in.readHexList(value.data);
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

void RegKeyImport::setHexValue(QByteArray name, RegValue value)
{
    // The newer format stores every string as UTF-16LE; the store hands
    // strings back in the narrow encoding, whichever format they came from.
    if (m_version5 &&
        (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ))
        value.data = StoreTextDecoder::fromUtf16Value(value.data);
    m_key.values.insert(foldCase(name), std::move(value));
}

} // namespace tunefold
