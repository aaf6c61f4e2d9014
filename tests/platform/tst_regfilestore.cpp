// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace tunefold;

namespace {

struct Read
{
    long status = -1;
    quint32 type = 0;
    QByteArray data;
};

// Opens key under HKEY_LOCAL_MACHINE and reads value name whatever its size.
Read readValue(RegistryStore &store, const QByteArray &key, const QByteArray &name)
{
    Read read;
    HKEY handle = 0;
    read.status = store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, handle);
    if (read.status != ERROR_SUCCESS)
        return read;
    quint32 size = 0;
    read.status = store.RegQueryValueExA(handle, name, read.type, {}, size);
    if (read.status == ERROR_MORE_DATA) {
        std::vector<std::uint8_t> buffer(size);
        read.status = store.RegQueryValueExA(handle, name, read.type, buffer, size);
        read.data = QByteArray(reinterpret_cast<const char *>(buffer.data()), size);
    }
    (void)store.RegCloseKey(handle);
    return read;
}

const QByteArray Section = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n";

} // namespace

class tst_regfilestore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void values_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");

        const QByteArray k = "SOFTWARE\\T";
        QTest::newRow("string") << Section + "\"v\"=\"/usr/bin/x\"" << k << QByteArray("v")
                                << REG_SZ << QByteArray("/usr/bin/x", 11);
        QTest::newRow("escapes") << Section + "\"v\\\"\"=\"a\\\\b\\\"c\"" << k << QByteArray("v\"")
                                 << REG_SZ << QByteArray("a\\b\"c", 6);
        QTest::newRow("empty string")
            << Section + "\"v\"=\"\"" << k << QByteArray("v") << REG_SZ << QByteArray(1, '\0');
        QTest::newRow("dword") << Section + "\"v\"=dword:00000105" << k << QByteArray("v")
                               << REG_DWORD << QByteArray("\x05\x01\0\0", 4);
        QTest::newRow("short dword") << Section + "\"v\"=DWORD:A" << k << QByteArray("v")
                                     << REG_DWORD << QByteArray("\x0a\0\0\0", 4);
        QTest::newRow("hex") << Section + "\"v\"=hex:01,ff,A" << k << QByteArray("v") << REG_BINARY
                             << QByteArray("\x01\xff\x0a");
        QTest::newRow("typed hex") << Section + "\"v\"=hex(2):25,00" << k << QByteArray("v")
                                   << REG_EXPAND_SZ << QByteArray("%\0", 2);
        QTest::newRow("type in hexadecimal") << Section + "\"v\"=hex(b):01" << k << QByteArray("v")
                                             << quint32(11) << QByteArray("\x01");
        QTest::newRow("continued list")
            << Section + "\"v\"=hex:01,02,\\\n  03,\\\r\n  04\n\"w\"=\"x\"" << k << QByteArray("v")
            << REG_BINARY << QByteArray("\x01\x02\x03\x04");
        QTest::newRow("unnamed value")
            << Section + "@=\"d\"" << k << QByteArray() << REG_SZ << QByteArray("d", 2);
        QTest::newRow("CR LF")
            << QByteArray("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\r\n\"v\"=\"x\"\r\n")
            << k << QByteArray("v") << REG_SZ << QByteArray("x", 2);
        QTest::newRow("comments and blanks")
            << "; c\n\n  " + Section + "\t; c\n\n  \"v\" = \"x\" ; c\n"
            << k << QByteArray("v") << REG_SZ << QByteArray("x", 2);
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + Section + "\"v\"=\"x\"" << k
                                         << QByteArray("v") << REG_SZ << QByteArray("x", 2);
        QTest::newRow("any ASCII case")
            << QByteArray("[hkey_local_machine\\Software\\t]\n\"Path\"=\"x\"")
            << QByteArray("SOFTWARE\\T") << QByteArray("pATH") << REG_SZ << QByteArray("x", 2);
        QTest::newRow("later value wins") << Section + "\"v\"=\"a\"\n" + Section + "\"V\"=\"b\""
                                          << k << QByteArray("v") << REG_SZ << QByteArray("b", 2);
    }

    void values()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, name);
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);

        RegFileStore store(writeFile(text));
        const Read read = readValue(store, key, name);
        QCOMPARE(read.status, ERROR_SUCCESS);
        QCOMPARE(read.type, type);
        QCOMPARE(read.data.toHex(' '), data.toHex(' '));
    }

    // Each text holds a line that does not parse; the value "bad" must not
    // appear in SOFTWARE\T, and the value "ok" after it must still serve.
    void malformed_data()
    {
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("truncated section")
            << QByteArray("[HKEY_LOCAL_MACHINE\\SOFTWARE\\U\n\"bad\"=\"x\"");
        QTest::newRow("empty section") << QByteArray("[]\n\"bad\"=\"x\"");
        QTest::newRow("deleted key")
            << QByteArray("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n\"bad\"=\"x\"");
        QTest::newRow("unterminated string") << QByteArray("\"bad\"=\"abc");
        QTest::newRow("unterminated name") << QByteArray("\"bad=\"abc\"");
        QTest::newRow("unknown escape") << QByteArray("\"bad\"=\"a\\nb\"");
        QTest::newRow("text after string") << QByteArray("\"bad\"=\"a\"b");
        QTest::newRow("missing equals") << QByteArray("\"bad\" \"a\"");
        QTest::newRow("deleted value") << QByteArray("\"bad\"=-");
        QTest::newRow("unknown type") << QByteArray("\"bad\"=qword:1");
        QTest::newRow("bad hex digit") << QByteArray("\"bad\"=hex:4g");
        QTest::newRow("three-digit byte") << QByteArray("\"bad\"=hex:123");
        QTest::newRow("missing comma") << QByteArray("\"bad\"=hex:01 02");
        QTest::newRow("bad type") << QByteArray("\"bad\"=hex(123456789):01");
        QTest::newRow("unclosed type") << QByteArray("\"bad\"=hex(2:01");
        QTest::newRow("nine-digit dword") << QByteArray("\"bad\"=dword:123456789");
        QTest::newRow("dword not hex") << QByteArray("\"bad\"=dword:xyz");
        QTest::newRow("list cut by a section")
            << QByteArray("\"bad\"=hex:01,\\\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]");
        QTest::newRow("list cut by a value") << QByteArray("\"bad\"=hex:01,\\\n\"ok\"=\"no\"");
        QTest::newRow("list at the end") << QByteArray("\"bad\"=hex:01,\\");
        QTest::newRow("text after a section")
            << QByteArray("[HKEY_LOCAL_MACHINE\\SOFTWARE\\U]x\n\"bad\"=\"x\"");
        static const char binary[] = "\0\xff\xfe[\0\"bad\"=\"\0\"\n\x80\x81\r\r\n\"bad\"\0=\"x\"";
        QTest::newRow("binary bytes") << QByteArray(binary, sizeof binary - 1);
        QTest::newRow("very long line") << "\"bad\"=hex:" + QByteArray(3 * 1024 * 1024, '0');
        QTest::newRow("long key in another section")
            << "[HKEY_LOCAL_MACHINE\\" + QByteArray(10000, '\\') + "]\n\"bad\"=\"x\"";
    }

    void malformed()
    {
        QFETCH(QByteArray, text);
        RegFileStore store(writeFile(Section + text + "\n" + Section + "\"ok\"=\"yes\"\n"));
        QCOMPARE(readValue(store, "SOFTWARE\\T", "bad").status, ERROR_FILE_NOT_FOUND);
        const Read ok = readValue(store, "SOFTWARE\\T", "ok");
        QCOMPARE(ok.status, ERROR_SUCCESS);
        QCOMPARE(ok.data, QByteArray("yes", 4));
    }

    void statuses()
    {
        RegFileStore store = RegFileStore::fromBytes(
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Tool]\n\"v\"=\"0123456789\"\n");
        HKEY key = 0;
        QCOMPARE(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mak", 0, KEY_READ, key),
                 ERROR_FILE_NOT_FOUND);
        QCOMPARE(key, HKEY(0));
        QCOMPARE(store.RegOpenKeyExA(0x80000001, "SOFTWARE\\Maker", 0, KEY_READ, key),
                 ERROR_FILE_NOT_FOUND);
        QCOMPARE(store.RegOpenKeyExA(12345, "", 0, KEY_READ, key),
                 RegFileStore::ERROR_INVALID_HANDLE);

        // A key that only a key below it names exists, and so does the root.
        HKEY parent = 0;
        QCOMPARE(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\maker", 0, KEY_READ, parent),
                 ERROR_SUCCESS);
        QVERIFY(parent != 0);
        quint32 type = 0;
        quint32 count = 0;
        QCOMPARE(store.RegQueryValueExA(parent, "v", type, {}, count), ERROR_FILE_NOT_FOUND);
        QCOMPARE(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, key), ERROR_SUCCESS);

        // An open key serves as a root.
        QCOMPARE(store.RegOpenKeyExA(parent, "Tool", 0, KEY_READ, key), ERROR_SUCCESS);
        QVERIFY(key != parent);
        std::uint8_t buffer[16] = {};
        count = 10;
        QCOMPARE(store.RegQueryValueExA(key, "V", type, buffer, count), ERROR_MORE_DATA);
        QCOMPARE(count, 11u);
        QCOMPARE(type, REG_SZ);
        QCOMPARE(store.RegQueryValueExA(key, "V", type, buffer, count), ERROR_SUCCESS);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 11), QByteArray("0123456789", 11));

        QCOMPARE(store.RegCloseKey(key), ERROR_SUCCESS);
        QCOMPARE(store.RegQueryValueExA(key, "V", type, buffer, count),
                 RegFileStore::ERROR_INVALID_HANDLE);
        QCOMPARE(store.RegCloseKey(key), RegFileStore::ERROR_INVALID_HANDLE);
        (void)store.RegCloseKey(0);
    }

    void writeRights()
    {
        const QString path = writeFile(Section);
        HKEY key = 0;
        RegFileStore denied(path, RegFileStore::WriteRights::Denied);
        QCOMPARE(denied.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\T", 0, KEY_READ_WRITE, key),
                 ERROR_ACCESS_DENIED);
        QCOMPARE(key, HKEY(0));
        QCOMPARE(denied.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\T", 0, KEY_READ, key),
                 ERROR_SUCCESS);
        QCOMPARE(denied.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\U", 0, KEY_READ_WRITE, key),
                 ERROR_FILE_NOT_FOUND);

        // Otherwise the file's own permissions decide; root may write anyway.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        const bool writable = ::access(QFile::encodeName(path).constData(), W_OK) == 0;
        RegFileStore asFile(path);
        QCOMPARE(asFile.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\T", 0, KEY_READ_WRITE, key),
                 writable ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
        QCOMPARE(asFile.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\T", 0, KEY_READ, key),
                 ERROR_SUCCESS);
    }

    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<long>("status");

        QTest::newRow("missing file") << "absent.reg" << ERROR_FILE_NOT_FOUND;
        QTest::newRow("empty file") << "empty.reg" << ERROR_FILE_NOT_FOUND;
        QTest::newRow("folder") << "folder.reg" << ERROR_ACCESS_DENIED;
        QTest::newRow("pipe") << "pipe.reg" << ERROR_ACCESS_DENIED;
        QTest::newRow("over the size limit") << "huge.reg" << ERROR_ACCESS_DENIED;
    }

    // Nothing but a regular file of sane size is read; nothing blocks.
    void files()
    {
        QFETCH(QString, name);
        QFETCH(long, status);
        const QString path = m_dir.filePath(name);
        if (name == QLatin1String("empty.reg"))
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        if (name == QLatin1String("folder.reg"))
            QVERIFY(QDir().mkpath(path));
        if (name == QLatin1String("pipe.reg"))
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        if (name == QLatin1String("huge.reg")) {
            QFile file(writeFile(Section));
            QVERIFY(file.resize(RegFileStore::MaxFileSize + 1) && file.rename(path));
        }
        RegFileStore store(path);
        HKEY key = 0;
        QCOMPARE(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\T", 0, KEY_READ, key), status);
    }

    // Ten megabytes of deep paths, long lines and waste are read in linear
    // time, and the value at the end still serves.
    void largeFile()
    {
        const QByteArray deep =
            "[HKEY_LOCAL_MACHINE\\" + QByteArray(10000, 'k').replace("kk", "k\\") + "]\n";
        QByteArray text;
        while (text.size() < 10 * 1024 * 1024) {
            text += deep + "\"v\"=\"" + QByteArray(20000, 'x') + "\"\n";
            text += "\"h\"=hex:" + QByteArray(1000, ',') + "\n[HKEY_LOCAL_MACHINE\\" +
                    QByteArray::number(text.size()) + "]\n";
            text += QByteArray(5000, '\\') + "\n" + QByteArray(5000, '[') + "\n";
        }
        text += Section + "\"ok\"=\"yes\"\n";
        const QString path = writeFile(text);

        QElapsedTimer timer;
        timer.start();
        RegFileStore store(path);
        QCOMPARE(readValue(store, "SOFTWARE\\T", "ok").data, QByteArray("yes", 4));
        QCOMPARE(readValue(store, deep.mid(20, deep.size() - 22), "v").data.size(), 20001);
        QCOMPARE(readValue(store, deep.mid(20, 4999), "v").status, ERROR_FILE_NOT_FOUND);
        QCOMPARE(readValue(store, QByteArray(10000, 'q'), "v").status, ERROR_FILE_NOT_FOUND);
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    }

private:
    QString writeFile(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("store%1.reg").arg(++m_files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

QTEST_GUILESS_MAIN(tst_regfilestore)
#include "tst_regfilestore.moc"
