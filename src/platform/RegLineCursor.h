// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace tunefold {

// A read position in one line of a store file, and the pieces that its values
// are written in. Every read checks the end, so no input can lead it astray;
// a read that fails may leave pos anywhere on the line.
struct RegLineCursor
{
    enum class ListEnd { Complete, Continues };

    QByteArrayView text;
    qsizetype pos = 0;

    [[nodiscard]] bool atEnd() const { return pos >= text.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : text[pos]; }

    void skipBlanks();
    bool take(char c);
    // word must be lower case; the input may use any ASCII case.
    bool takeWord(QByteArrayView word);
    // True when only blanks or a comment remain.
    [[nodiscard]] bool atLineEnd();

    // "..." with the escapes \\ and \"; any other escape makes the line
    // invalid. With line, the buffer that text lies in, the text is unescaped
    // to the front of that buffer and handed back in it, which takes no memory
    // beyond the line's: a long value costs its line once, not twice. The
    // cursor may read on, as nothing is written past where it stands.
    [[nodiscard]] std::optional<QByteArray> readQuoted(QByteArray *line = nullptr);
    // One to maxDigits hexadecimal digits, no more.
    [[nodiscard]] std::optional<quint32> readHexNumber(int maxDigits);
    // "01,02,ff" to the end of the line, appended to out; a last "," is
    // allowed, and a last "\" says that the list goes on in the next line.
    [[nodiscard]] std::optional<ListEnd> readHexList(QByteArray &out);
};

} // namespace tunefold
