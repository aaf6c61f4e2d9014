// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/ListDocument.h"

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
        // clang-format off
        QTest::newRow("under .005") << quint64(5242) << dot << QByteArray("0.00");
        QTest::newRow("largest") << quint64(UINT64_MAX) << dot << QByteArray("17592186044416.00");
        QTest::newRow("two-byte separator") << quint64(1572864) << QStringLiteral("\u066B") << QByteArray("1\xD9\xAB" "50");
        // clang-format on
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
        // clang-format off
        QTest::newRow("controls") << QByteArray("\r\n\t\x7f") << QByteArray("&#13;&#10;&#9;&#127;") << 240;
        QTest::newRow("last control") << QByteArray("a\x1f") << QByteArray("a&#31;") << 254;
        // U+00E9, U+0800, U+D7FF below the surrogates, U+10000 and U+10FFFF.
        QTest::newRow("letters count once") << QByteArray("\xC3\xA9\xE0\xA0\x80\xED\x9F\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF") << QByteArray("\xC3\xA9\xE0\xA0\x80\xED\x9F\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF") << 255;
        QTest::newRow("bad bytes count once") << QByteArray("\xFF\xC3(\x80") << QByteArray("\xFF\xC3(\x80") << 256;
        // Overlong forms of each length, a surrogate, and past U+10FFFF.
        QTest::newRow("ill-formed sequences count by byte") << QByteArray("\xC0\xAF\xC1\xBF\xE0\x9F\xBF\xED\xA0\x80\xF0\x8F\xBF\xBF\xF4\x90\x80\x80") << QByteArray("\xC0\xAF\xC1\xBF\xE0\x9F\xBF\xED\xA0\x80\xF0\x8F\xBF\xBF\xF4\x90\x80\x80") << 242;
        // The width is at least one NUL wide, whether the name was escaped or not.
        QTest::newRow("260 characters") << QByteArray(260, 'x') << QByteArray(260, 'x') << 1;
        QTest::newRow("escaped past the width") << QByteArray(200, '<') << QByteArray("&lt;").repeated(200) << 1;
        // clang-format on
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
};

QTEST_GUILESS_MAIN(tst_ListDocument)
#include "tst_listdocument.moc"
