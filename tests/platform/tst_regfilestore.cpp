// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegFileStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
// call that failed.
QByteArray readValue(RegistryStore &store, const QByteArray &value)
{
    const qsizetype cut = value.lastIndexOf('\\');
    const QByteArray name = value.sliced(cut + 1);
    HKEY handle = 0;
    long status = store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, value.first(cut), 0, KEY_READ, handle);
    if (status != ERROR_SUCCESS)
        return "open " + QByteArray::number(status);
    quint32 type = 0, size = 0;
    status = store.RegQueryValueExA(handle, name, type, {}, size);
    std::vector<std::uint8_t> buffer(size);
    if (status == ERROR_MORE_DATA)
        status = store.RegQueryValueExA(handle, name, type, buffer, size);
    (void)store.RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
        return "query " + QByteArray::number(status);
    return QByteArray::number(type) + ':' + QByteArrayView(buffer.data(), size).toByteArray();
}

} // namespace

class tst_regfilestore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray v = "SOFTWARE\\T\\v";
        // Ten megabytes of deep paths, long lines and waste.
        const QByteArray deep = QByteArray(10000, 'k').replace("kk", "k\\");
        QByteArray text;
        while (text.size() < 10 * 1024 * 1024)
            text += "[HKEY_LOCAL_MACHINE\\" + deep + "]\n\"v\"=\"" + QByteArray(20000, 'x') +
                    "\"\n\"h\"=hex:" + QByteArray(1000, ',') + "\n[HKEY_LOCAL_MACHINE\\" +
                    QByteArray::number(text.size()) + "]\n" + QByteArray(5000, '\\') + "\n" +
                    QByteArray(5000, '[') + "\n";
        const QString large = writeFile(text + Section + "\"ok\"=\"yes\"\n");
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.reg")));
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("pipe.reg")).constData(), 0644), 0);
        QFile huge(writeFile(Section));
        QVERIFY(huge.resize(RegFileStore::MaxFileSize + 1));

        // clang-format off
        // A line that does not parse is skipped, and the value after it still serves.
        const auto skipped = [this](const char *row, const QByteArray &line) {
            QTest::newRow(row) << writeFile(Section + line + '\n' + Section + "\"ok\"=\"yes\"") << "SOFTWARE\\T\\ok"_ba << "1:yes\0"_ba;
        };
        QTest::newRow("escapes") << writeFile(Section + "\"v\\\"\"=\"a\\\\b\\\"c\"") << v + '"' << "1:a\\b\"c\0"_ba;
        QTest::newRow("type in hexadecimal") << writeFile(Section + "\"v\"=hex(1b):01") << v << "27:\x01"_ba;
        QTest::newRow("continued list") << writeFile(Section + "\"v\"=hex:01,02,\\\n  03,\\\r\n  04\n\"w\"=\"x\"") << v << "3:\x01\x02\x03\x04"_ba;
        QTest::newRow("comments and blanks") << writeFile("; c\n\n  " + Section + "\t; c\n\n  \"v\" = \"x\" ; c\n") << v << "1:x\0"_ba;
        QTest::newRow("byte order mark") << writeFile("\xEF\xBB\xBF" + Section + "\"v\"=\"x\"") << v << "1:x\0"_ba;
        QTest::newRow("unnamed value") << writeFile(Section + "@=\"d\"") << "SOFTWARE\\T\\"_ba << "1:d\0"_ba;
        QTest::newRow("later value wins") << writeFile(Section + "\"v\"=\"a\"\n" + Section + "\"V\"=\"b\"") << v << "1:b\0"_ba;
        QTest::newRow("key named by a key below") << writeFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\U]\n\"v\"=\"x\"") << v << "query 2"_ba;
        QTest::newRow("part of a key name") << writeFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tool]\n\"v\"=\"x\"") << v << "open 2"_ba;
        skipped("truncated section", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\U\n\"bad\"=\"x\"");
        skipped("unterminated string", "\"bad\"=\"abc");
        skipped("bad hex digit", "\"bad\"=hex:4g");
        skipped("type out of range", "\"bad\"=hex(123456789):01");
        skipped("nine-digit dword", "\"bad\"=dword:123456789");
        skipped("list cut by a section", "\"bad\"=hex:01,\\\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]");
        skipped("list at the end", "\"bad\"=hex:01,\\");
        skipped("binary bytes", "\0\xff\xfe[\0\"bad\"=\"\0\"\n\x80\x81\r\r\n\"bad\"\0=\"x\""_ba);
        skipped("very long line", "\"bad\"=hex:" + QByteArray(3 * 1024 * 1024, '0'));
        skipped("long key in another section", "[HKEY_LOCAL_MACHINE\\" + QByteArray(10000, '\\') + "]\n\"bad\"=\"x\"");
        QTest::newRow("missing file") << m_dir.filePath("absent.reg") << v << "open 2"_ba;
        QTest::newRow("empty file") << writeFile({}) << v << "open 2"_ba;
        QTest::newRow("folder") << m_dir.filePath("folder.reg") << v << "open 5"_ba;
        QTest::newRow("pipe") << m_dir.filePath("pipe.reg") << v << "open 5"_ba;
        QTest::newRow("over the size limit") << huge.fileName() << v << "open 5"_ba;
        QTest::newRow("10 MB: value at the end") << large << "SOFTWARE\\T\\ok"_ba << "1:yes\0"_ba;
        QTest::newRow("10 MB: 10,000-character key") << large << deep + "\\v" << "1:" + QByteArray(20000, 'x') + '\0';
        QTest::newRow("10 MB: a key above the deep one") << large << deep.first(4999) + "\\v" << "query 2"_ba;
        QTest::newRow("10 MB: missing deep key") << large << QByteArray(10000, 'q') + "\\v" << "open 2"_ba;
        // clang-format on
    }

    // Whatever the file, the store answers in linear time, and no line that
    // does not parse leaves a value behind.
    void values()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        QElapsedTimer timer;
        timer.start();
        RegFileStore store(file);
        QCOMPARE(readValue(store, value), expected);
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!readValue(store, "SOFTWARE\\T\\bad").contains(':'));
    }

private:
    QString writeFile(const QByteArray &text)
    {
        QFile file(m_dir.filePath(QStringLiteral("store%1.reg").arg(++m_files)));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

QTEST_GUILESS_MAIN(tst_regfilestore)
#include "tst_regfilestore.moc"
