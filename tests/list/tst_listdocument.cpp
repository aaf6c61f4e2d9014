// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "list/ListDocument.h"

#include <QFile>
#include <QTest>

using namespace tunefold;

class tst_ListDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeText_data();
    void sizeText();
    void nameField_data();
    void nameField();
    void documentMatchesGolden();
    void failedWriteStops();
};

void tst_ListDocument::sizeText_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<QByteArray>("expected");

    const QString point = QStringLiteral(".");
    QTest::newRow("empty") << quint64(0) << point << QByteArray("0.00");
    QTest::newRow("one megabyte") << quint64(1048576) << point << QByteArray("1.00");
    QTest::newRow("one and a half") << quint64(1572864) << point << QByteArray("1.50");
    QTest::newRow("four million") << quint64(4000000) << point << QByteArray("3.81");
    QTest::newRow("just over .005") << quint64(10485) << point << QByteArray("0.01");
    QTest::newRow("just under .005") << quint64(5242) << point << QByteArray("0.00");
    QTest::newRow(".125 goes up") << quint64(131072) << point << QByteArray("0.13");
    QTest::newRow(".625 goes up") << quint64(655360) << point << QByteArray("0.63");
    QTest::newRow("no grouping") << quint64(1500) * 1048576 << point << QByteArray("1500.00");
    QTest::newRow("5 GiB") << quint64(5368709120) << point << QByteArray("5120.00");
    // 2^53 + 1 bytes is where doubles stop being exact.
    QTest::newRow("past doubles") << (quint64(1) << 53) + 1 << point << QByteArray("8589934592.00");
    QTest::newRow("largest") << quint64(UINT64_MAX) << point << QByteArray("17592186044416.00");
    QTest::newRow("comma") << quint64(1572864) << QStringLiteral(",") << QByteArray("1,50");
    QTest::newRow("arabic separator") << quint64(1572864) << QStringLiteral("\u066B")
                                      << QByteArray("1\xD9\xAB"
                                                    "50");
}

void tst_ListDocument::sizeText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, decimalPoint);
    QFETCH(QByteArray, expected);
    std::string text;
    appendSizeText(text, bytes, decimalPoint.toStdString());
    QCOMPARE(QByteArray::fromStdString(text), expected);
}

void tst_ListDocument::nameField_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("nuls");

    QTest::newRow("short") << QByteArray("a.mp3") << QByteArray("a.mp3") << 255;
    QTest::newRow("40 characters")
        << QByteArray(36, 'n') + ".mp3" << QByteArray(36, 'n') + ".mp3" << 220;
    QTest::newRow("ampersand and quote stay")
        << QByteArray("R&B 'n' soul.mp3") << QByteArray("R&B 'n' soul.mp3") << 244;
    QTest::newRow("tags are escaped")
        << QByteArray("<b>x</b>.mp3") << QByteArray("&lt;b&gt;x&lt;/b&gt;.mp3") << 236;
    QTest::newRow("line breaks are escaped")
        << QByteArray("a\r\nb.mp3") << QByteArray("a&#13;&#10;b.mp3") << 244;
    QTest::newRow("tab and delete")
        << QByteArray("\t\x7f.mp3") << QByteArray("&#9;&#127;.mp3") << 246;
    QTest::newRow("two-byte letters count once")
        << QByteArray("caf\xC3\xA9.mp3") << QByteArray("caf\xC3\xA9.mp3") << 252;
    QTest::newRow("other scripts") << QByteArray("\xEC\x9E\x90\xEB\xB0\xB1.mp3")
                                   << QByteArray("\xEC\x9E\x90\xEB\xB0\xB1.mp3") << 254;
    QTest::newRow("invalid bytes count once each")
        << QByteArray("\xFF\xC3(\x80.mp3") << QByteArray("\xFF\xC3(\x80.mp3") << 252;
    QTest::newRow("255 bytes") << QByteArray(251, 'x') + ".mp3" << QByteArray(251, 'x') + ".mp3"
                               << 5;
    // Escaping can push a long name past the field; one NUL still follows.
    QTest::newRow("escaped past the width")
        << QByteArray(200, '<') + ".mp3" << QByteArray("&lt;").repeated(200) + ".mp3" << 1;
}

void tst_ListDocument::nameField()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, written);
    QFETCH(int, nuls);
    std::string field;
    appendNameField(field, name.toStdString());
    const QByteArray bytes = QByteArray::fromStdString(field);
    QCOMPARE(bytes.left(written.size()), written);
    QCOMPARE(bytes.size(), written.size() + nuls);
    QCOMPARE(bytes.count('\0'), nuls);
    QVERIFY(!bytes.contains('<') && !bytes.contains('>') && !bytes.contains('\n'));
}

void tst_ListDocument::documentMatchesGolden()
{
    test::MemoryOutput output;
    QVERIFY(output.open(QString()));
    ListDocument document(output, ".");
    QVERIFY(document.writeHeader());
    QVERIFY(document.writeEntry("a.mp3", 0));
    QVERIFY(document.writeEntry("Song & 'Friends' <live>.MP3", 1572864));
    QVERIFY(document.writeEntry(std::string(36, 'x') + ".mp3", 5368709120));
    QVERIFY(document.writeEntry("caf\xC3\xA9 line\nbreak.mp3", 131072));
    QVERIFY(document.writeFooter());
    QVERIFY(output.commit());

    QFile golden(QStringLiteral(TUNEFOLD_TEST_DATA "/golden/four-entries.html"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    const QByteArray expected = golden.readAll();
    const QByteArray actual = QByteArray::fromStdString(output.committed);
    QCOMPARE(actual, expected);
    QCOMPARE(actual.count("\r\n"), 5 + 4 * 4);
}

void tst_ListDocument::failedWriteStops()
{
    // A full disk part way through a large folder: the write that fails is
    // reported, not swallowed by the block buffer.
    test::MemoryOutput output;
    output.failAfter = 100000;
    QVERIFY(output.open(QString()));
    ListDocument document(output, ".");
    bool written = document.writeHeader();
    for (int i = 0; written && i < 5000; ++i)
        written = document.writeEntry("song.mp3", 1);
    written = written && document.writeFooter();
    QVERIFY(!written);
    QVERIFY(output.pending.size() <= output.failAfter);
}

QTEST_GUILESS_MAIN(tst_ListDocument)
#include "tst_listdocument.moc"
