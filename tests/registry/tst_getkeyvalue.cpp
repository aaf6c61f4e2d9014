// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <QTemporaryFile>
#include <QTest>
#include <algorithm>

using namespace tunefold;
using namespace Qt::StringLiterals;

namespace {

const QString TestKey = QStringLiteral("SOFTWARE\\Tunefold Test");
const QByteArray Section = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tunefold Test]\r\n";
constexpr int NoKey = 0, NoValue = 1, Read = 2; // how far a lookup gets

// Passes every call on to a store file and writes it down. A failed open hands
// back rubbish as the handle; a value named "overstated" is claimed to be a
// megabyte long, whatever the buffer holds.
class RecordingStore final : public RegistryStore
{
public:
    explicit RecordingStore(const QString &path) : real(path, RegFileStore::WriteRights::Denied) {}
    RegFileStore real; // one the user may read but not write
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
        const bool zeroed = std::all_of(data.begin(), data.end(), [](auto b) { return b == 0; });
        calls << QString::asprintf("query %u %s %zu %u%s", key, name.constData(), data.size(),
                                   count, zeroed ? "" : " into a buffer not zeroed");
        const long status = real.RegQueryValueExA(key, name, type, data, count);
        count = name == "overstated" ? 1 << 20 : count;
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
        QTest::addColumn<QByteArray>("text"); // the store
        QTest::addColumn<QString>("name");    // of a value in TestKey
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("expected"); // KeyVal, "was" before the call

        // clang-format off
        QTest::newRow("string with closing zero") << Section + "\"v\"=\"/usr/bin/x\"" << "v" << Read << "/usr/bin/x";
        QTest::newRow("string without closing zero") << Section + "\"v\"=hex(1):2f,78" << "v" << Read << "/x";
        QTest::newRow("only the closing zero") << Section + "\"v\"=\"\"" << "v" << Read << "";
        QTest::newRow("1024 bytes with the zero") << Section + "\"v\"=\"" + QByteArray(1023, 'a') + '"' << "v" << Read << QString(1023, u'a');
        QTest::newRow("1025 bytes") << Section + "\"v\"=\"" + QByteArray(1024, 'a') + '"' << "v" << NoValue << "";
        QTest::newRow("zero inside") << Section + "\"v\"=hex(1):41,00,42,00" << "v" << Read << u"A\0B"_s;
        QTest::newRow("only the last zero is cut") << Section + "\"v\"=hex(1):41,00,00" << "v" << Read << u"A\0"_s;
        QTest::newRow("UTF-8 text") << Section + "\"v\"=\"M\xC3\xBCsik\"" << "v" << Read << u"Müsik"_s;
        QTest::newRow("dword 261") << Section + "\"v\"=dword:00000105" << "v" << Read << "261";
        QTest::newRow("dword 0") << Section + "\"v\"=dword:00000000" << "v" << Read << "0";
        QTest::newRow("dword all bytes set") << Section + "\"v\"=dword:12345678" << "v" << Read << "305419896";
        QTest::newRow("dword maximum") << Section + "\"v\"=dword:ffffffff" << "v" << Read << "4294967295";
        QTest::newRow("dword without data") << Section + "\"v\"=hex(4):" << "v" << Read << "0";
        QTest::newRow("expand string untouched") << Section + "\"v\"=hex(2):25,00" << "v" << Read << "was";
        QTest::newRow("missing key") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Elsewhere]\n\"v\"=\"x\""_ba << "v" << NoKey << "";
        QTest::newRow("missing value") << Section + "\"v\"=\"x\"" << "w" << NoValue << "";
        QTest::newRow("names in another case") << "[hkey_local_machine\\software\\tunefold TEST]\n\"Path\"=\"x\""_ba << "PATH" << Read << "x";
        QTest::newRow("store overstates the count") << Section + "\"overstated\"=hex(1):" + QByteArray(1024, 'a').toHex(',') << "overstated" << Read << QString(1024, u'a');
        // clang-format on
    }

    // Every value comes from a store the user may not write: the reader asks
    // for read rights only, and closes last on every path, with 0 after a
    // failed open.
    void values()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QFETCH(int, outcome);
        QFETCH(QString, expected);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(text) == text.size() && file.flush());
        RecordingStore store(file.fileName());
        QString keyVal = QStringLiteral("was");
        QCOMPARE(GetKeyValue(store, HKEY_LOCAL_MACHINE, TestKey, name, keyVal), outcome == Read);
        QCOMPARE(keyVal, expected);

        const QString open = "open 80000002 " + TestKey + " 0 20019";
        const QString query = "query 1 " + name + " 1024 1024";
        QCOMPARE(store.calls, (outcome == NoKey ? QStringList{open, "close 0"}
                                                : QStringList{open, query, "close 1"}));
        HKEY key = 0;
        QCOMPARE(
            store.real.RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestKey.toUtf8(), 0, KEY_READ_WRITE, key),
            outcome == NoKey ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    }
};

QTEST_GUILESS_MAIN(tst_getkeyvalue)
#include "tst_getkeyvalue.moc"
