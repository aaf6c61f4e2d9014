// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramPointer.h"
#include "app/RuntimeError.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;

namespace {

// A 16 x 16 cursor file with its hotspot at (hotX, hotY), made from the icon
// file that Qt writes: a cursor file differs in the type word and in the
// entry's bytes 4 to 7.
QByteArray cursorFile(int hotX, int hotY)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image))
        return {};
    QByteArray bytes = buffer.data();
    bytes[2] = 2;
    bytes[10] = char(hotX);
    bytes[11] = 0;
    bytes[12] = char(hotY);
    bytes[13] = 0;
    return bytes;
}

QString writeFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

} // namespace

class tst_ProgramPointer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedHandFile();
    void hotspotFromFile();
};

void tst_ProgramPointer::shippedHandFile()
{
    const QCursor hand = loadPointerFile(QStringLiteral(TUNEFOLD_BIN_DIR "/hand.cur"));
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
}

void tst_ProgramPointer::hotspotFromFile()
{
    QTemporaryDir folder;
    const QString path = writeFile(folder, "hand.cur", cursorFile(3, 11));
    QVERIFY(!path.isEmpty());
    const QCursor cursor = loadPointerFile(path);
    QCOMPARE(cursor.hotSpot(), QPoint(3, 11));
    QCOMPARE(cursor.pixmap().size(), QSize(16, 16));

    // A hotspot off the image, and an icon that is not a cursor.
    QByteArray icon = cursorFile(0, 0);
    icon[2] = 1;
    QVERIFY_THROWS_EXCEPTION(
        RuntimeError, (void)loadPointerFile(writeFile(folder, "far.cur", cursorFile(16, 2))));
    QVERIFY_THROWS_EXCEPTION(RuntimeError,
                             (void)loadPointerFile(writeFile(folder, "icon.cur", icon)));
}

QTEST_MAIN(tst_ProgramPointer)
#include "tst_programpointer.moc"
