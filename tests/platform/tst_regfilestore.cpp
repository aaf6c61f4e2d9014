// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "platform/RegFileStore.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <vector>

using namespace tunefold;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Section = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n";

// Reads a value, given as "<key under HKEY_LOCAL_MACHINE>\<name>", whatever
// its size: "<type>:<data>", or "open <status>" / "query <status>" for the
// call that failed (a failed open leaves the handle 0).
QByteArray readValue(RegistryStore &store, const QByteArray &value)
{
    const qsizetype cut = value.lastIndexOf('\\');
    HKEY handle = 0;
    quint32 type = 0, size = 0;
    long status = store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, value.first(cut), 0, KEY_READ, handle);
    if (status == ERROR_SUCCESS)
        status = store.RegQueryValueExA(handle, value.sliced(cut + 1), type, {}, size);
    std::vector<std::uint8_t> buffer(size);
    if (status == ERROR_MORE_DATA)
        status = store.RegQueryValueExA(handle, value.sliced(cut + 1), type, buffer, size);
    (void)store.RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
        return (handle == 0 ? "open " : "query ") + QByteArray::number(status);
    return QByteArray::number(type) + ':' + QByteArrayView(buffer.data(), size).toByteArray();
}

} // namespace

class tst_regfilestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString writeFile(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("store%1.reg").arg(++m_files));
        test::writeFile(path, text);
        return path;
    }

private Q_SLOTS:
    void values_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("value"); // "<name>", or "<key>\<name>", under SOFTWARE\T
        QTest::addColumn<QByteArray>("expected");

        // Ten megabytes of deep paths and long lines, then a value under a
        // key path of 10,000 characters.
        const QByteArray deep = QByteArray(5000, 'k').replace('k', "\\k"); // below SOFTWARE\T
        const QByteArray waste = "\"v\"=\"" + QByteArray(20000, 'x') + "\"\n" +
                                 QByteArray(5000, '[') + '\n' + Section.chopped(2) + deep + "]\n";
        const QString large =
            writeFile(waste.repeated(10 * 1024 * 1024 / waste.size() + 1) + "\"end\"=\"yes\"");
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("pipe.reg")).constData(), 0644), 0);

        // A line that does not parse is skipped, and the value after it still serves.
        const QByteArray ok = '\n' + Section + "\"ok\"=\"yes\"";
        const QByteArray deleteT = "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n";
        const auto utf16 = [](const char *text) { return QByteArray(QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(QString::fromUtf8(text))); };

        // A character outside the BMP near the end of the first 64 KiB read,
        // its halves in two reads at -2.
        const QByteArray start = "Windows Registry Editor Version 5.00\r\n" + Section + "\"v\"=\"";
        for (const int at : {-4, -2, 0}) { // where the pair starts, from the end of the read
            const QByteArray fill((64 * 1024 + at) / 2 - 1 - start.size(), 'x'); // after the mark
            const QByteArray text = start + fill + "\xF0\x9F\x98\x80";
            QTest::addRow("UTF-16LE pair at %+d", at)
                << writeFile(utf16((text + '"').constData())) << "v"_ba
                << "1:" + text.sliced(start.size()) + '\0';
        }

        // clang-format off
        QTest::newRow("escapes, over 64 KiB") << writeFile(Section + "\"v\\\"\"=\"" + "a\\\\b\\\"c"_ba.repeated(20000) + '"') << "v\""_ba << "1:" + "a\\b\"c"_ba.repeated(20000) + '\0';
        QTest::newRow("type in hexadecimal") << writeFile(Section + "\"v\"=hex(1b):01") << "v"_ba << "27:\x01"_ba;
        QTest::newRow("continued list") << writeFile(Section + "\"v\"=hex:01,02,\\\n  03,\\\r\n  04\n\"w\"=\"x\"") << "v"_ba << "3:\x01\x02\x03\x04"_ba;
        QTest::newRow("byte order mark, blanks, comments") << writeFile("\xEF\xBB\xBF  " + Section.chopped(1) + " ; [c]\n\t; c\n\n  \"v\" = \"x\" ; c\n") << "v"_ba << "1:x\0"_ba;
        QTest::newRow("unnamed value") << writeFile(Section + "@=\"d\"") << ""_ba << "1:d\0"_ba;
        QTest::newRow("key named by a key below") << writeFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\U]\n\"v\"=\"x\"") << "v"_ba << "query 2"_ba;
        QTest::newRow("part of a key name") << writeFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tool]\n\"v\"=\"x\"") << "v"_ba << "open 2"_ba;
        QTest::newRow("section without ]") << writeFile(Section + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\\n\"bad\"=\"x\"" + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("unterminated string") << writeFile(Section + "\"bad\"=\"abc" + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("bad hex digit") << writeFile(Section + "\"bad\"=hex:4g" + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("nine-digit dword") << writeFile(Section + "\"bad\"=dword:123456789" + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("list cut by a section") << writeFile(Section + "\"bad\"=hex:01,\\\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]" + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("binary bytes") << writeFile(Section + "\0\xff\xfe[\0\"bad\"=\"\0\"\n\x80\x81\r\r\n\"bad\"\0=\"x\""_ba + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("very long line") << writeFile(Section + "\"bad\"=hex:" + QByteArray(3 * 1024 * 1024, '0') + ok) << "ok"_ba << "1:yes\0"_ba;
        QTest::newRow("key deleted, named again") << writeFile(Section + "\"bad\"=\"x\"\n" + deleteT + "\"bad\"=\"y\"\n" + Section + "\"v\"=\"new\"") << "v"_ba << "1:new\0"_ba;
        QTest::newRow("value deleted, set again") << writeFile(Section + "\"v\"=\"x\"\n\"bad\"=\"x\"\n\"BAD\" = - ; gone\n\"v\"=-\n\"v\"=\"y\"") << "v"_ba << "1:y\0"_ba;
        QTest::newRow("parent deleted") << writeFile(Section + "\"bad\"=\"x\"\n[-HKEY_LOCAL_MACHINE\\Software]") << "v"_ba << "open 2"_ba;
        QTest::newRow("child and sibling deleted") << writeFile(Section + "\"v\"=\"x\"\n" + "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\U]\n" + "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Tool]") << "v"_ba << "1:x\0"_ba;
        QTest::newRow("empty levels") << writeFile("[\\HKEY_LOCAL_MACHINE\\\\SOFTWARE\\T\\]\n\"v\"=\"x\"") << "v"_ba << "1:x\0"_ba;
        QTest::newRow("CR ends, comment in a list") << writeFile(Section.chopped(1) + "\r\r\n\"v\"=hex:01,\\\r; c\r  02\r\r\n") << "v"_ba << "3:\x01\x02"_ba;
        QTest::newRow("version 5, UTF-16LE") << writeFile(utf16("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\r\n\"\xc3\xbc\"=hex(2):25,00,c4,00,00,00\r\n")) << "\xc3\xbc"_ba << "2:%\xc3\x84\0"_ba;
        QTest::newRow("version 5, UTF-8") << writeFile("Windows Registry Editor Version 5.00\n" + Section + "\"v\"=hex(7):61,00,00,00,00,00") << "v"_ba << "7:a\0\0"_ba;
        QTest::newRow("missing file") << m_dir.filePath("absent.reg") << "v"_ba << "open 2"_ba;
        QTest::newRow("empty file") << writeFile({}) << "v"_ba << "open 2"_ba;
        QTest::newRow("folder") << m_dir.path() << "v"_ba << "open 5"_ba;
        QTest::newRow("pipe") << m_dir.filePath("pipe.reg") << "v"_ba << "open 5"_ba;
        QTest::newRow("over the size limit") << writeFile(Section + QByteArray(RegFileStore::MaxFileSize, ';')) << "v"_ba << "open 5"_ba;
        QTest::newRow("10 MB: 10,000-character key at the end") << large << deep.sliced(1) + "\\end" << "1:yes\0"_ba;
        // clang-format on
    }

    // No line that does not parse leaves a value behind.
    void values()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        RegFileStore store(file);
        QCOMPARE(readValue(store, "SOFTWARE\\T\\" + value), expected);
        QVERIFY(!readValue(store, "SOFTWARE\\T\\bad").contains(':'));
    }
};

QTEST_GUILESS_MAIN(tst_regfilestore)
#include "tst_regfilestore.moc"
