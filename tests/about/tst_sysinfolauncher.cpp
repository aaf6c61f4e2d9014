// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoLauncher.h"
#include "platform/DetachedProgramStarter.h"
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tunefold;

namespace {

// Passes every call on to a real store and notes which keys were opened, so a
// test can tell whether the second location was consulted at all.
class RecordingStore final : public RegistryStore
{
public:
    explicit RecordingStore(RegistryStore &store) : m_store(store) {}

    long RegOpenKeyExA(HKEY root, const QByteArray &subKey, quint32 options, quint32 access,
                       HKEY &result) override
    {
        opened << QString::fromUtf8(subKey.mid(subKey.lastIndexOf('\\') + 1));
        return m_store.RegOpenKeyExA(root, subKey, options, access, result);
    }
    long RegQueryValueExA(HKEY key, const QByteArray &valueName, quint32 &type,
                          std::span<std::uint8_t> data, quint32 &byteCount) override
    {
        return m_store.RegQueryValueExA(key, valueName, type, data, byteCount);
    }
    long RegCloseKey(HKEY key) override { return m_store.RegCloseKey(key); }

    QStringList opened; // last level of each key path, in order
private:
    RegistryStore &m_store;
};

struct Shown
{
    QString text;
    int style;
    QString title;
};

class RecordingMessages final : public MessageBox
{
public:
    void show(const QString &text, int style, const QString &title) override
    {
        shown.push_back({text, style, title});
    }
    std::vector<Shown> shown;
};

const QByteArray FirstKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
const QByteArray SecondKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n";

// Puts folder in place of every "@" and writes each "{text}" as the
// comma-separated hexadecimal bytes of text, for values given as hex lists.
QByteArray expandStore(QByteArray text, const QByteArray &folder)
{
    text.replace('@', folder);
    for (qsizetype open = text.indexOf('{'); open >= 0; open = text.indexOf('{', open)) {
        const qsizetype close = text.indexOf('}', open);
        text.replace(open, close - open + 1, text.mid(open + 1, close - open - 1).toHex(','));
    }
    return text;
}

} // namespace

class tst_SysInfoLauncher : public QObject
{
    Q_OBJECT

private:
    // Every row gets a fresh folder, so one row's program cannot run in
    // another. Each program started writes the path it was started by ($0)
    // as one line to the run log: the test sees what ran and under which name.
    QString dirPath() const { return m_dir->path(); }
    QString runLog() const { return m_dir->filePath(QStringLiteral("ran.log")); }

    QStringList runs() const
    {
        QFile log(runLog());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
        lines.sort();
        return lines;
    }

    void writeProgram(const QString &relative, bool executable)
    {
        const QString path = m_dir->filePath(relative);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$0\" >> '" + QFile::encodeName(runLog()) + "'\n");
        script.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        QVERIFY(script.setPermissions(permissions));
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void launch_data()
    {
        QTest::addColumn<QByteArray>("store");     // as expandStore() takes it
        QTest::addColumn<QStringList>("programs"); // a "-x" suffix: not executable
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QStringList>("expectedRuns"); // "@": the row's folder
        QTest::addColumn<QStringList>("expectedKeys");
        QTest::addColumn<int>("expectedMessages");

        const QStringList both{"first", "loc/MSINFO32.EXE"};
        const QStringList none;
        const QStringList firstOnly{"MSINFO"};
        const QStringList bothKeys{"MSINFO", "Shared Tools Location"};
        const QByteArray second = SecondKey + "\"MSINFO\"=\"@/loc\"\n";
        const QByteArray firstGood = FirstKey + "\"PATH\"=\"@/first\"\n";

        QTest::newRow("both valid: the first is started")
            << firstGood + second << both << none << 1 << QStringList{"@/first"} << firstOnly << 0;
        QTest::newRow("first key missing: the folder of the second")
            << second << both << none << 1 << QStringList{"@/loc/MSINFO32.EXE"} << bothKeys << 0;
        QTest::newRow("first names a missing file: second not consulted")
            << FirstKey + "\"PATH\"=\"@/gone\"\n" + second << both << none << 1 << none << firstOnly
            << 1;
        QTest::newRow("first names a folder") << FirstKey + "\"PATH\"=\"@/loc\"\n" + second << both
                                              << none << 1 << none << firstOnly << 1;
        QTest::newRow("first is an expandable string: started empty, fails")
            << FirstKey + "\"PATH\"=hex(2):{@/first},00\n" + second << both << none << 1 << none
            << firstOnly << 1;
        QTest::newRow("first with a zero inside is not cut short")
            << FirstKey + "\"PATH\"=hex(1):{@/first},00,78,00\n" + second << both << none << 1
            << none << firstOnly << 1;
        QTest::newRow("first is not executable")
            << firstGood + second << QStringList{"first-x", "loc/MSINFO32.EXE"} << none << 1 << none
            << firstOnly << 1;
        QTest::newRow("second ends in a separator: doubled, started unchanged")
            << SecondKey + "\"MSINFO\"=\"@/loc/\"\n"
            << both << none << 1 << QStringList{"@/loc//MSINFO32.EXE"} << bothKeys << 0;
        QTest::newRow("second: MSINFO32.EXE is a folder")
            << second << none << QStringList{"loc/MSINFO32.EXE"} << 1 << none << bothKeys << 1;
        QTest::newRow("second: an ordinary file that cannot be started")
            << second << QStringList{"loc/MSINFO32.EXE-x"} << none << 1 << none << bothKeys << 1;
        QTest::newRow("second: a hidden folder holding an ordinary file")
            << SecondKey + "\"MSINFO\"=\"@/.loc\"\n"
            << QStringList{".loc/MSINFO32.EXE"} << none << 1 << QStringList{"@/.loc/MSINFO32.EXE"}
            << bothKeys << 0;
        QTest::newRow("neither present")
            << QByteArray() << both << none << 1 << none << bothKeys << 1;
        QTest::newRow("two presses start two programs")
            << firstGood << both << none << 2 << QStringList{"@/first", "@/first"}
            << QStringList{"MSINFO", "MSINFO"} << 0;
    }

    void launch()
    {
        QFETCH(QByteArray, store);
        QFETCH(QStringList, programs);
        QFETCH(QStringList, folders);
        QFETCH(int, presses);
        QFETCH(QStringList, expectedRuns);
        QFETCH(QStringList, expectedKeys);
        QFETCH(int, expectedMessages);

        for (const QString &program : programs) {
            const bool executable = !program.endsWith(QLatin1String("-x"));
            writeProgram(executable ? program : program.chopped(2), executable);
        }
        for (const QString &folder : folders)
            QVERIFY(QDir(dirPath()).mkpath(folder));
        const QString storePath = m_dir->filePath(QStringLiteral("machine.reg"));
        {
            QFile file(storePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("REGEDIT4\r\n\r\n" + expandStore(store, QFile::encodeName(dirPath())));
        }

        RegFileStore fileStore(storePath);
        RecordingStore recording(fileStore);
        DetachedProgramStarter starter;
        RecordingMessages messages;
        for (int press = 0; press < presses; ++press)
            StartSysInfo(recording, starter, messages);

        QCOMPARE(recording.opened, expectedKeys);
        QCOMPARE(int(messages.shown.size()), expectedMessages);
        for (const Shown &shown : messages.shown) {
            QCOMPARE(shown.text, QStringLiteral("System Information Is Unavailable At This Time"));
            QCOMPARE(shown.style, 0);
            QVERIFY(shown.title.isEmpty()); // the application title
        }
        expectedRuns.replaceInStrings(QStringLiteral("@"), dirPath());
        QTRY_COMPARE_WITH_TIMEOUT(runs(), expectedRuns, 10000);
        // A program that should not have run has had time to show itself.
        QTest::qWait(100);
        QCOMPARE(runs(), expectedRuns);
    }

    // The store that the build writes leads to the program it builds.
    void shippedStore()
    {
        RegFileStore store(QStringLiteral(TUNEFOLD_BIN_DIR "/machine.reg"));
        QString path;
        QVERIFY(GetKeyValue(store, HKEY_LOCAL_MACHINE,
                            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                            QStringLiteral("PATH"), path));
        QCOMPARE(path, QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-sysinfo"));
        QVERIFY(DetachedProgramStarter().isOrdinaryFile(path));
        QVERIFY(QFileInfo(path).isExecutable());
    }
};

QTEST_GUILESS_MAIN(tst_SysInfoLauncher)
#include "tst_sysinfolauncher.moc"
