// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <QTemporaryFile>
#include <QTest>

using namespace tunefold;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Key = "SOFTWARE\\Tunefold Test";
const QByteArray Section = "[HKEY_LOCAL_MACHINE\\" + Key + "]\r\n";
constexpr int NoKey = 0, NoValue = 1, Read = 2; // how far a lookup gets

// Passes every call on to a store and writes it down. A failed open hands
// back rubbish as the handle; data that fill the buffer are claimed to be a
// megabyte long.
struct RecordingStore final : RegistryStore
{
    explicit RecordingStore(RegFileStore store) : real(std::move(store)) {}
    RegFileStore real;
    QStringList calls;

    long RegOpenKeyExA(HKEY root, const QByteArray &key, quint32 options, quint32 access,
                       HKEY &result) override
    {
        calls << QString::asprintf("open %x %s %u %x", root, key.constData(), options, access);
        const long status = real.RegOpenKeyExA(root, key, options, access, result);
        result = status == ERROR_SUCCESS ? result : 0xDEAD;
        return status;
    }
    long RegQueryValueExA(HKEY key, const QByteArray &name, quint32 &type,
                          std::span<std::uint8_t> data, quint32 &count) override
    {
        calls << QString::asprintf("query %u %s %zu %u", key, name.constData(), data.size(), count);
        const long status = real.RegQueryValueExA(key, name, type, data, count);
        count = count == data.size() ? 1 << 20 : count;
        return status;
    }
    long RegCloseKey(HKEY key) override
    {
        calls << QString::asprintf("close %u", key);
        return real.RegCloseKey(key);
    }
};

} // namespace

class tst_getkeyvalue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data()
    {
        QTest::addColumn<QByteArray>("text"); // the store; the value read is "v" of Key
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("expected"); // KeyVal, "was" before the call

        // clang-format off
        QTest::newRow("UTF-8 string without closing zero") << Section + "\"v\"=hex(1):4d,c3,bc,73,69,6b" << Read << u"Müsik"_s;
        QTest::newRow("1024 bytes, the last not zero") << Section + "\"v\"=hex(1):" + QByteArray("61,").repeated(1023) + "61" << Read << QString(1024, u'a');
        QTest::newRow("1025 bytes") << Section + "\"v\"=\"" + QByteArray(1024, 'a') + '"' << NoValue << "";
        QTest::newRow("zeros inside, only the last cut") << Section + "\"v\"=hex(1):41,00,42,00,00" << Read << u"A\0B\0"_s;
        QTest::newRow("dword all bytes set") << Section + "\"v\"=dword:12345678" << Read << "305419896";
        QTest::newRow("dword maximum") << Section + "\"v\"=dword:ffffffff" << Read << "4294967295";
        QTest::newRow("dword without data") << Section + "\"v\"=hex(4):" << Read << "0";
        QTest::newRow("expand string untouched") << Section + "\"v\"=hex(2):25,00" << Read << "was";
        QTest::newRow("missing key") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Elsewhere]\n\"v\"=\"x\""_ba << NoKey << "";
        QTest::newRow("missing value") << Section + "\"w\"=\"x\"" << NoValue << "";
        QTest::newRow("names in another case") << "[hkey_local_machine\\software\\tunefold TEST]\n\"V\"=\"x\""_ba << Read << "x";
        // clang-format on
    }

    // Every value comes from a store the user may not write: the reader asks
    // for read rights only, and closes last on every path, with 0 after a
    // failed open. Data that fill the buffer are read whatever count the
    // store claims for them.
    void values()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, outcome);
        QFETCH(QString, expected);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(text) == text.size() && file.flush());
        RecordingStore store(RegFileStore(file.fileName(), RegFileStore::WriteRights::Denied));
        QString keyVal = QStringLiteral("was");
        QCOMPARE(GetKeyValue(store, HKEY_LOCAL_MACHINE, Key, u"v"_s, keyVal), outcome == Read);
        QCOMPARE(keyVal, expected);
        const QString calls = outcome == NoKey ? "close 0" : "query 1 v 1024 1024, close 1";
        QCOMPARE(store.calls.join(", "), "open 80000002 " + Key + " 0 20019, " + calls);
        HKEY key = 0;
        QCOMPARE(store.real.RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_READ_WRITE, key),
                 outcome == NoKey ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    }
};

QTEST_GUILESS_MAIN(tst_getkeyvalue)
#include "tst_getkeyvalue.moc"
