// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StoreTextDecoder.h"

#include <QStringView>

namespace tunefold {

QByteArrayView StoreTextDecoder::decode(QByteArrayView piece)
{
    switch (m_encoding) {
    case Encoding::AsItStands:
        m_head.clear(); // the start of the file, which the last call handed back
        return piece;
    case Encoding::Utf16:
        return decodeUtf16(piece);
    case Encoding::Unknown:
        break;
    }
    // The byte order mark decides, once three bytes or the end are seen.
    if (m_head.isEmpty() && piece.size() >= 3)
        return start(piece);
    m_head += piece;
    return m_head.size() >= 3 ? start(m_head) : QByteArrayView();
}

QByteArrayView StoreTextDecoder::finish()
{
    if (m_encoding == Encoding::Unknown)
        return start(m_head); // fewer than three bytes: nothing waits after them
    // A high surrogate at the very end, converted alone as any unpaired one.
    m_text = QStringView(m_units).toUtf8();
    m_units.clear();
    return m_text;
}

QByteArray StoreTextDecoder::fromUtf16Value(QByteArrayView data)
{
    QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom |
                                                          QStringConverter::Flag::Stateless);
    return QString(decoder(data)).toUtf8();
}

QByteArrayView StoreTextDecoder::start(QByteArrayView head)
{
    if (head.startsWith("\xFF\xFE")) {
        m_encoding = Encoding::Utf16;
        // A second mark after the first is text, a zero-width space.
        m_utf16.emplace(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
        const QByteArrayView text = decodeUtf16(head.sliced(2));
        m_head.clear();
        return text;
    }
    m_encoding = Encoding::AsItStands;
    // A byte order mark, as editors may add.
    return head.startsWith("\xEF\xBB\xBF") ? head.sliced(3) : head;
}

QByteArrayView StoreTextDecoder::decodeUtf16(QByteArrayView bytes)
{
    // The units go after a high surrogate that the last piece ended in, so a
    // pair cut by a piece's end is converted whole.
    const qsizetype held = m_units.size();
    m_units.resize(held + m_utf16->requiredSpace(bytes.size()));
    const QChar *end = m_utf16->appendToBuffer(m_units.data() + held, bytes);
    m_units.truncate(end - m_units.constData());
    QStringView complete(m_units);
    if (!complete.isEmpty() && complete.back().isHighSurrogate())
        complete.chop(1);
    m_text = complete.toUtf8();
    // Only what waits is kept: a whole file given at once leaves no copy behind.
    m_units = complete.size() < m_units.size() ? QString(m_units.back()) : QString();
    return m_text;
}

} // namespace tunefold
