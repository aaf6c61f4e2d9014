// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StoreTextDecoder.h"

#include <QStringEncoder>
#include <QTest>

using namespace tunefold;
using namespace Qt::StringLiterals;

namespace {

// text (UTF-8) in UTF-16LE after a byte order mark.
const auto utf16 = [](const QByteArray &text) -> QByteArray {
    return QStringEncoder(QStringConverter::Utf16LE,
                          QStringConverter::Flag::WriteBom)(QString::fromUtf8(text));
};

const QByteArray Emoji = "\xF0\x9F\x98\x80"_ba; // U+1F600, a surrogate pair in UTF-16
const QByteArray HighSurrogate = "\x3D\xD8"_ba; // its first half, alone

} // namespace

class tst_storetextdecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("text");

        // clang-format off
        QTest::newRow("UTF-16LE, pairs") << utf16("a" + Emoji + Emoji + "z") << "a" + Emoji + Emoji + "z";
        QTest::newRow("UTF-16LE, odd last byte") << utf16("a" + Emoji) + 'z' << "a" + Emoji;
        QTest::newRow("UTF-16LE, high surrogate last") << utf16("a") + HighSurrogate << "a?"_ba;
        QTest::newRow("UTF-16LE, unpaired high surrogate") << utf16("a") + HighSurrogate + "b\0"_ba << "a?b"_ba;
        QTest::newRow("UTF-16LE, second mark is text") << "\xFF\xFE"_ba + utf16("a") << "\xEF\xBB\xBF" "a"_ba;
        QTest::newRow("UTF-16LE, mark only") << "\xFF\xFE"_ba << ""_ba;
        QTest::newRow("UTF-8, mark dropped") << "\xEF\xBB\xBFx"_ba + Emoji << "x" + Emoji;
        QTest::newRow("mark cut short") << "\xEF\xBB"_ba << "\xEF\xBB"_ba;
        QTest::newRow("narrow bytes") << "\xE4\xFF\xFE\x00\x81"_ba << "\xE4\xFF\xFE\x00\x81"_ba;
        // clang-format on
    }

    // The text is that of the file given whole, wherever the pieces end.
    void decode()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, text);
        for (qsizetype cut = 0; cut <= file.size(); ++cut) {
            StoreTextDecoder decoder;
            QByteArray out = decoder.decode(QByteArrayView(file).first(cut)).toByteArray();
            out += decoder.decode(QByteArrayView(file).sliced(cut));
            out += decoder.finish();
            QVERIFY2(out == text, qPrintable(u"cut at byte %1: %2"_s.arg(cut).arg(out.toHex(' '))));
        }
        StoreTextDecoder decoder;
        QByteArray out;
        for (const char byte : file)
            out += decoder.decode(QByteArrayView(&byte, 1));
        out += decoder.finish();
        QCOMPARE(out, text);
    }
};

QTEST_GUILESS_MAIN(tst_storetextdecoder)
#include "tst_storetextdecoder.moc"
