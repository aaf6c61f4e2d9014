// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace tunefold;

namespace {

const QString TestKey = QStringLiteral("SOFTWARE\\Tunefold Test");

// Answers from a script and writes down every call it gets.
class RecordingStore : public RegistryStore
{
public:
    QStringList calls;
    long openStatus = ERROR_SUCCESS;
    long queryStatus = ERROR_SUCCESS;
    QByteArray data;
    quint32 reportedCount = 0;
    bool bufferWasZeroed = false;

    long RegOpenKeyExA(HKEY root, const QByteArray &subKey, quint32 options, quint32 access,
                       HKEY &result) override
    {
        calls << QStringLiteral("open %1 %2 %3 %4")
                     .arg(root, 0, 16)
                     .arg(QString::fromUtf8(subKey))
                     .arg(options)
                     .arg(access, 0, 16);
        result = openStatus == ERROR_SUCCESS ? 77 : 0xDEAD; // rubbish after a failure
        return openStatus;
    }

    long RegQueryValueExA(HKEY key, const QByteArray &valueName, quint32 &type,
                          std::span<std::uint8_t> buffer, quint32 &byteCount) override
    {
        calls << QStringLiteral("query %1 %2 %3 %4")
                     .arg(key)
                     .arg(QString::fromUtf8(valueName))
                     .arg(buffer.size())
                     .arg(byteCount);
        bufferWasZeroed = std::all_of(buffer.begin(), buffer.end(), [](auto b) { return b == 0; });
        type = REG_SZ;
        std::copy_n(data.constData(), std::min<std::size_t>(data.size(), buffer.size()),
                    buffer.begin());
        byteCount = reportedCount;
        return queryStatus;
    }

    long RegCloseKey(HKEY key) override
    {
        calls << QStringLiteral("close %1").arg(key);
        return ERROR_SUCCESS;
    }
};

QByteArray sized(char fill, int size)
{
    return QByteArray(size, fill);
}

} // namespace

class tst_getkeyvalue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void values_data()
    {
        QTest::addColumn<QByteArray>("valueLines"); // under [HKEY_LOCAL_MACHINE\<TestKey>]
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("expected");

        const QString k = TestKey;
        const QString was = QStringLiteral("was");
        QTest::newRow("string with closing zero")
            << QByteArray("\"v\"=\"/usr/bin/x\"") << k << "v" << was << true << "/usr/bin/x";
        QTest::newRow("string without closing zero")
            << QByteArray("\"v\"=hex(1):2f,78") << k << "v" << was << true << "/x";
        QTest::newRow("only the closing zero")
            << QByteArray("\"v\"=\"\"") << k << "v" << was << true << "";
        QTest::newRow("no data at all")
            << QByteArray("\"v\"=hex(1):") << k << "v" << was << true << "";
        QTest::newRow("1024 bytes with the zero") << "\"v\"=\"" + sized('a', 1023) + '"' << k << "v"
                                                  << was << true << QString(1023, u'a');
        QTest::newRow("1024 bytes without a zero")
            << "\"v\"=hex(1):" + sized('a', 1024).toHex(',') << k << "v" << was << true
            << QString(1024, u'a');
        QTest::newRow("1025 bytes")
            << "\"v\"=\"" + sized('a', 1024) + '"' << k << "v" << was << false << "";
        QTest::newRow("zero inside") << QByteArray("\"v\"=hex(1):41,00,42,00") << k << "v" << was
                                     << true << QStringLiteral("A") + QChar(0) + u'B';
        QTest::newRow("only the last zero is cut")
            << QByteArray("\"v\"=hex(1):41,00,00") << k << "v" << was << true
            << QStringLiteral("A") + QChar(0);
        QTest::newRow("UTF-8 text") << QByteArray("\"v\"=\"M\xC3\xBCsik\"") << k << "v" << was
                                    << true << QStringLiteral("Müsik");
        QTest::newRow("dword 261")
            << QByteArray("\"v\"=dword:00000105") << k << "v" << was << true << "261";
        QTest::newRow("dword 0") << QByteArray("\"v\"=dword:00000000") << k << "v" << was << true
                                 << "0";
        QTest::newRow("dword all bytes set")
            << QByteArray("\"v\"=dword:12345678") << k << "v" << was << true << "305419896";
        QTest::newRow("dword top bit")
            << QByteArray("\"v\"=dword:80000000") << k << "v" << was << true << "2147483648";
        QTest::newRow("dword maximum")
            << QByteArray("\"v\"=dword:ffffffff") << k << "v" << was << true << "4294967295";
        QTest::newRow("dword without data")
            << QByteArray("\"v\"=hex(4):") << k << "v" << was << true << "0";
        QTest::newRow("dword of eight bytes") << QByteArray("\"v\"=hex(4):ff,ff,ff,ff,ff,ff,ff,ff")
                                              << k << "v" << was << true << "18446744073709551615";
        QTest::newRow("expand string untouched")
            << QByteArray("\"v\"=hex(2):25,00") << k << "v" << was << true << was;
        QTest::newRow("binary untouched")
            << QByteArray("\"v\"=hex:01,02") << k << "v" << was << true << was;
        QTest::newRow("missing key") << QByteArray("\"v\"=\"x\"") << "SOFTWARE\\Elsewhere"
                                     << "v" << was << false << "";
        QTest::newRow("missing value")
            << QByteArray("\"v\"=\"x\"") << k << "w" << was << false << "";
        QTest::newRow("names in another case")
            << QByteArray("\"Path\"=\"x\"") << k.toLower() << "PATH" << was << true << "x";
        QTest::newRow("unnamed value") << QByteArray("@=\"x\"") << k << "" << was << true << "x";
    }

    void values()
    {
        QFETCH(QByteArray, valueLines);
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, initial);
        QFETCH(bool, result);
        QFETCH(QString, expected);

        RegFileStore store(
            writeStore("[HKEY_LOCAL_MACHINE\\" + TestKey.toUtf8() + "]\r\n" + valueLines + "\r\n"));
        QString keyVal = initial;
        QCOMPARE(GetKeyValue(store, HKEY_LOCAL_MACHINE, key, name, keyVal), result);
        QCOMPARE(keyVal, expected);
        QCOMPARE(keyVal.isEmpty(), expected.isEmpty());
    }

    void calls_data()
    {
        QTest::addColumn<long>("openStatus");
        QTest::addColumn<long>("queryStatus");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("calls");

        const QString open = QStringLiteral("open 80000002 SOFTWARE\\Key 0 20019");
        const QString query = QStringLiteral("query 77 Name 1024 1024");
        QTest::newRow("read") << ERROR_SUCCESS << ERROR_SUCCESS << true
                              << QStringList{open, query, "close 77"};
        QTest::newRow("no key") << ERROR_FILE_NOT_FOUND << ERROR_SUCCESS << false
                                << QStringList{open, "close 0"};
        QTest::newRow("no rights")
            << ERROR_ACCESS_DENIED << ERROR_SUCCESS << false << QStringList{open, "close 0"};
        QTest::newRow("no value") << ERROR_SUCCESS << ERROR_FILE_NOT_FOUND << false
                                  << QStringList{open, query, "close 77"};
        QTest::newRow("too long") << ERROR_SUCCESS << ERROR_MORE_DATA << false
                                  << QStringList{open, query, "close 77"};
    }

    // The order of the calls, read rights only, and the close on every path.
    void calls()
    {
        QFETCH(long, openStatus);
        QFETCH(long, queryStatus);
        QFETCH(bool, result);
        QFETCH(QStringList, calls);

        RecordingStore store;
        store.openStatus = openStatus;
        store.queryStatus = queryStatus;
        store.data = QByteArray("ok\0", 3);
        store.reportedCount = 3;
        QString keyVal = QStringLiteral("was");
        QCOMPARE(GetKeyValue(store, HKEY_LOCAL_MACHINE, "SOFTWARE\\Key", "Name", keyVal), result);
        QCOMPARE(store.calls, calls);
        QCOMPARE(keyVal, result ? QStringLiteral("ok") : QString());
        if (calls.size() == 3)
            QVERIFY(store.bufferWasZeroed);
    }

    // A store that claims more bytes than the buffer holds is not believed.
    void overstatedByteCount()
    {
        RecordingStore store;
        store.data = sized('z', 1024);
        store.reportedCount = 1 << 20;
        QString keyVal;
        QVERIFY(GetKeyValue(store, HKEY_LOCAL_MACHINE, "K", "V", keyVal));
        QCOMPARE(keyVal, QString(1024, u'z'));
    }

    // A user who may read the store but not write it still gets the value.
    void readOnlyStore()
    {
        RegFileStore store(
            writeStore(
                "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                "\"PATH\"=\"/opt/tool\"\n"),
            RegFileStore::WriteRights::Denied);
        HKEY key = 0;
        QCOMPARE(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                     "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0, KEY_READ_WRITE,
                                     key),
                 ERROR_ACCESS_DENIED);
        QString keyVal;
        QVERIFY(GetKeyValue(store, HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                            "PATH", keyVal));
        QCOMPARE(keyVal, QStringLiteral("/opt/tool"));
    }

private:
    QString writeStore(const QByteArray &text)
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

QTEST_GUILESS_MAIN(tst_getkeyvalue)
#include "tst_getkeyvalue.moc"
