// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QtGlobal>
#include <utility>

namespace tunefold {

struct RegValue
{
    quint32 type = 0;
    QByteArray data;
};

// What a file leaves behind in one key.
struct RegKey
{
    bool exists = false;                // named by a section, or lying above one
    QHash<QByteArray, RegValue> values; // by folded name; "" is the unnamed value
};

// The lines of a store file, in their order, and what importing them leaves
// in one key (the grammar is described at RegFileParser). Values of other keys
// are not even parsed: the key asked for cannot see them.
class RegKeyImport
{
public:
    // Imports for the key at path (as keyPath gives it), which must outlive
    // the import.
    explicit RegKeyImport(const QByteArray &path) : m_path(path) {}

    // Whether a line that starts with first (after its blanks) can change the
    // key: other lines, however long, need not be held or handed over.
    [[nodiscard]] bool mayChangeKey(char first) const
    {
        return first == '[' || m_inKey || m_pending || m_firstLine;
    }

    // The next line, without its line end.
    void takeLine(QByteArrayView line) { takeLine(line, nullptr); }
    // The same for a line held in buffer, which a string value may take over
    // rather than copy, leaving buffer empty.
    void takeHeldLine(QByteArray &buffer) { takeLine(buffer, &buffer); }

    // The key after the last line. A list still waiting for its next line is
    // incomplete and is dropped.
    [[nodiscard]] RegKey finish() { return std::move(m_key); }

    // path with its empty levels dropped and ASCII letters in lower case.
    [[nodiscard]] static QByteArray keyPath(QByteArrayView path);
    // ASCII letters to lower case; every other byte unchanged.
    [[nodiscard]] static QByteArray foldCase(QByteArrayView text);

private:
    void takeLine(QByteArrayView line, QByteArray *held);
    [[nodiscard]] bool continueHexList(QByteArrayView line);
    void takeSection(QByteArrayView line);
    void takeValue(QByteArrayView line, QByteArray *held);
    void setHexValue(QByteArray name, RegValue value);

    const QByteArray &m_path;
    RegKey m_key;

    bool m_firstLine = true;
    bool m_version5 = false;
    bool m_inKey = false; // the last section line named the key asked for
    QByteArray m_section; // the last section's path, reused from line to line

    // A hex list whose last line ended in "\" and waits for its next line.
    bool m_pending = false;
    QByteArray m_pendingName;
    RegValue m_pendingValue;
};

} // namespace tunefold
