// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegKeyImport.h"
#include "platform/StoreTextDecoder.h"

#include <QByteArray>
#include <QByteArrayView>

namespace tunefold {

// Reads the registry's text export formats, "REGEDIT4" and "Windows Registry
// Editor Version 5.00":
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Example]   a key, by its full path
//   [-HKEY_LOCAL_MACHINE\SOFTWARE\Old]      deletes that key and all below it
//   "Name"="text with \\ and \""            type 1, the bytes plus a zero byte
//   "Gone"=-                                deletes the value
//   "Count"=dword:00000105                  type 4, four bytes, low byte first
//   "Raw"=hex:01,02,\                       type 3; "\" continues the list
//     03                                    on the next line
//   @=hex(2):25,00                          hex(N): type N (hexadecimal); @ is
//                                           the unnamed value
//   ; a comment
//
// The file means what importing it from top to bottom leaves behind: later
// values replace earlier ones, deletions take effect where they stand, and a
// key deleted and named again starts empty. Paths and value names are
// compared without regard to ASCII case; empty levels of a path are dropped.
//
// A line ends in LF, CR LF, CR CR LF or a lone CR. A file that starts with a
// UTF-16LE byte order mark is UTF-16LE, any other UTF-8 (or the narrow bytes
// as they stand). Under the version 5 header, hex(1), hex(2) and hex(7) data
// are UTF-16LE strings and are handed back in UTF-8, as every other text.
//
// A line that does not parse is skipped; values after a section line that does
// not parse belong to no key, so they cannot land in the key before it. Time
// is linear in the input; memory is that of the longest line and of the one
// key asked for, whatever the input holds.
//
// The parser cuts the text into lines; StoreTextDecoder turns the bytes into
// that text, and RegKeyImport reads what each line means.
class RegFileParser
{
public:
    // Reads for the key at path (as keyPath gives it), which must outlive
    // the parser.
    explicit RegFileParser(const QByteArray &path);

    // The next piece of the file: pieces may end anywhere.
    void feed(QByteArrayView piece);
    // The key after importing the whole file.
    [[nodiscard]] RegKey finish();

    // path with its empty levels dropped and ASCII letters in lower case: the
    // form in which readKey takes it.
    [[nodiscard]] static QByteArray keyPath(QByteArrayView path);

    // The key at path (as keyPath gives it) after importing file, given whole.
    [[nodiscard]] static RegKey readKey(QByteArrayView file, const QByteArray &path);

    // ASCII letters to lower case; every other byte unchanged.
    [[nodiscard]] static QByteArray foldCase(QByteArrayView text);

private:
    void feedText(QByteArrayView text);
    void carry(QByteArrayView start);

    StoreTextDecoder m_decoder;
    RegKeyImport m_import;
    QByteArray m_line;       // the start of a line that the next piece ends
    bool m_skipLine = false; // the line that the next piece ends is not held
    bool m_afterCr = false;  // the last line ended in CR: skip a CR or LF that follow
};

} // namespace tunefold
