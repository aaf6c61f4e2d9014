// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegKeyTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace tunefold {

// Reads the registry's text export format "REGEDIT4":
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Example]   a key, by its full path
//   "Name"="text with \\ and \""            type 1, the bytes plus a zero byte
//   "Count"=dword:00000105                  type 4, four bytes, low byte first
//   "Raw"=hex:01,02,\                       type 3; "\" continues the list
//     03                                    on the next line
//   @=hex(2):25,00                          hex(N): type N (hexadecimal); @ is
//                                           the unnamed value
//   ; a comment
//
// Lines end in LF or CR LF. Text stays in the file's own bytes. A line that
// does not parse is skipped; values after a section line that does not parse
// belong to no key, so they cannot land in the key before it. A later value of
// the same name replaces an earlier one. Time and memory are linear in the
// input, whatever it holds.
class RegFileParser
{
public:
    [[nodiscard]] static RegKeyTable parse(QByteArrayView text);

private:
    void takeLine(QByteArrayView line);
    [[nodiscard]] bool continueHexList(QByteArrayView line);
    void takeSection(QByteArrayView line);
    void takeValue(QByteArrayView line);

    RegKeyTable m_table;
    qsizetype m_section = -1; // index in m_table; -1 while in no key

    // A hex list whose last line ended in "\" and waits for its next line.
    bool m_pending = false;
    QByteArray m_pendingName;
    RegValue m_pendingValue;
};

} // namespace tunefold
