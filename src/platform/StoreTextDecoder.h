// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <optional>

namespace tunefold {

// Turns the bytes of a store file, read in pieces that may end anywhere, into
// the text that its lines are read from. A file that starts with a UTF-16LE
// byte order mark comes out in UTF-8; any other comes out as it stands, less
// a UTF-8 byte order mark, so UTF-8 and the narrow bytes both pass.
//
// A piece may end inside a character: half a UTF-16 unit, or the first half
// of a surrogate pair, waits for the next piece, so the text is that of the
// file given whole however it was cut. At the end of the file, a last odd
// byte is dropped and a high surrogate that nothing completed comes out as
// "?", as an unpaired one does anywhere.
class StoreTextDecoder
{
public:
    // The text of piece, as far as the file is complete; it stays valid until
    // the next call.
    [[nodiscard]] QByteArrayView decode(QByteArrayView piece);
    // What the end of the file completes; valid until the next call.
    [[nodiscard]] QByteArrayView finish();

    // A string value of the newer export format, UTF-16LE, in UTF-8.
    [[nodiscard]] static QByteArray fromUtf16Value(QByteArrayView data);

private:
    enum class Encoding { Unknown, AsItStands, Utf16 };

    [[nodiscard]] QByteArrayView start(QByteArrayView head);
    [[nodiscard]] QByteArrayView decodeUtf16(QByteArrayView bytes);

    Encoding m_encoding = Encoding::Unknown;
    QByteArray m_head;                     // the first bytes, until they show the byte order mark
    std::optional<QStringDecoder> m_utf16; // holds half a unit between pieces
    QString m_units; // between pieces, a high surrogate that waits for its pair
    QByteArray m_text;
};

} // namespace tunefold
