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
    void sizeText_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QByteArray>("expected");
        const QString dot = QStringLiteral(".");
        QTest::newRow("empty") << quint64(0) << dot << QByteArray("0.00");
        QTest::newRow("1 MB") << quint64(1048576) << dot << QByteArray("1.00");
        QTest::newRow("4 million") << quint64(4000000) << dot << QByteArray("3.81");
        QTest::newRow("over .005") << quint64(10485) << dot << QByteArray("0.01");
        QTest::newRow("under .005") << quint64(5242) << dot << QByteArray("0.00");
        QTest::newRow(".125 goes up") << quint64(131072) << dot << QByteArray("0.13");
        QTest::newRow(".625 goes up") << quint64(655360) << dot << QByteArray("0.63");
        QTest::newRow("no grouping") << quint64(1500) * 1048576 << dot << QByteArray("1500.00");
        QTest::newRow("5 GiB") << quint64(5368709120) << dot << QByteArray("5120.00");
        // Where doubles stop being exact, and where 64 bits end.
        QTest::newRow("2^53 + 1") << (quint64(1) << 53) + 1 << dot << QByteArray("8589934592.00");
        QTest::newRow("largest") << quint64(UINT64_MAX) << dot << QByteArray("17592186044416.00");
        QTest::newRow("comma") << quint64(1572864) << QStringLiteral(",") << QByteArray("1,50");
        QTest::newRow("two-byte separator") << quint64(1572864) << QStringLiteral("\u066B")
                                            << QByteArray("1\xD9\xAB"
                                                          "50");
    }
    void sizeText()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, point);
        std::string text;
        appendSizeText(text, bytes, point.toStdString());
        QTEST(QByteArray::fromStdString(text), "expected");
    }

    void nameField_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("nuls");
        QTest::newRow("40 characters")
            << QByteArray(36, 'n') + ".mp3" << QByteArray(36, 'n') + ".mp3" << 220;
        QTest::newRow("& and ' stay")
            << QByteArray("R&B 'n'.mp3") << QByteArray("R&B 'n'.mp3") << 249;
        QTest::newRow("tags") << QByteArray("<b>.mp3") << QByteArray("&lt;b&gt;.mp3") << 247;
        QTest::newRow("controls") << QByteArray("\r\n\t\x7f") << QByteArray("&#13;&#10;&#9;&#127;")
                                  << 240;
        QTest::newRow("letters count once")
            << QByteArray("\xC3\xA9\xEC\x9E\x90") << QByteArray("\xC3\xA9\xEC\x9E\x90") << 258;
        QTest::newRow("bad bytes count once")
            << QByteArray("\xFF\xC3(\x80") << QByteArray("\xFF\xC3(\x80") << 256;
        QTest::newRow("255 bytes") << QByteArray(255, 'x') << QByteArray(255, 'x') << 5;
        QTest::newRow("escaped past the width")
            << QByteArray(200, '<') << QByteArray("&lt;").repeated(200) << 1;
        // Plain ASCII skips escaping and counting; a long one, and one that needs both.
        QTest::newRow("letter and tag")
            << QByteArray("\xC3\xA9<") << QByteArray("\xC3\xA9&lt;") << 255;
        QTest::newRow("plain past the width") << QByteArray(300, 'x') << QByteArray(300, 'x') << 1;
    }
    void nameField()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, written);
        QFETCH(int, nuls);
        std::string field;
        appendNameField(field, name.toStdString());
        QCOMPARE(QByteArray::fromStdString(field), written + QByteArray(nuls, '\0'));
    }

    void documentMatchesGolden()
    {
        test::MemoryOutput output;
        output.pending.clear();
        ListDocument document(output, ".");
        QVERIFY(document.writeHeader());
        QVERIFY(document.writeEntry("a.mp3", 0));
        QVERIFY(document.writeEntry("Song & 'Friends' <live>.MP3", 1572864));
        QVERIFY(document.writeEntry(std::string(36, 'x') + ".mp3", 5368709120));
        QVERIFY(document.writeEntry("caf\xC3\xA9 line\nbreak.mp3", 131072));
        QVERIFY(document.writeFooter());
        QFile golden(QStringLiteral(TUNEFOLD_TEST_DATA "/golden/four-entries.html"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(QByteArray::fromStdString(output.pending), golden.readAll());
    }
};

QTEST_GUILESS_MAIN(tst_ListDocument)
#include "tst_listdocument.moc"
