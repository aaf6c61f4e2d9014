// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoLauncher.h"
#include "doubles/Doubles.h"
#include "platform/DetachedProgramStarter.h"
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace tunefold;
using namespace Qt::StringLiterals;

// The programs are a script, "first" and a copy "MSINFO32.EXE", that
// writes the path it was started by ($0) as a line of the row's run log: the
// test sees what ran and under which name. Each row presses System Info...
// twice; every press consults the store afresh and starts its own program.
class tst_SysInfoLauncher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QFile script(m_dir.filePath(u"first"_s));
        QVERIFY(script.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(script.write("#!/bin/sh\necho \"$0\" >> \"$TUNEFOLD_RUN_LOG\"\n") > 0);
        QVERIFY(script.copy(m_dir.filePath(u"MSINFO32.EXE"_s))); // closes the script first
    }

    // A valid second value stands behind the first wherever the first must
    // win: consulting it would start its program.
    void launch_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<QString>("started"); // by each press; none: a message instead

        const QByteArray dir = QFile::encodeName(m_dir.path());
        const QByteArray tools = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools";
        const QByteArray firstKey = tools + "\\MSINFO]\n";
        const QByteArray first = firstKey + "\"PATH\"=\"" + dir + "/first\"\n";
        const QByteArray second = tools + " Location]\n\"MSINFO\"=\"" + dir + "\"\n";
        // clang-format off
        QTest::newRow("both valid: the first is started") << first + second << m_dir.filePath(u"first"_s);
        QTest::newRow("first set, then deleted: the folder of the second") << first + "[-" + firstKey.sliced(1) + second << m_dir.filePath(u"MSINFO32.EXE"_s);
        QTest::newRow("first names a missing file: second not consulted") << firstKey + "\"PATH\"=\"" + dir + "/gone\"\n" + second << QString();
        QTest::newRow("first is an expandable string: no second lookup") << firstKey + "\"PATH\"=hex(2):" + (dir + "/first").toHex(',') + ",00\n" + second << QString();
        QTest::newRow("second ends in a separator: doubled, started unchanged") << tools + " Location]\n\"MSINFO\"=\"" + dir + "/\"\n" << m_dir.path() + "//MSINFO32.EXE";
        QTest::newRow("neither present") << QByteArray() << QString();
        // clang-format on
    }

    void launch()
    {
        QFETCH(QByteArray, store);
        QFETCH(QString, started);
        const QString log = m_dir.filePath(QString::fromUtf8(QTest::currentDataTag()) + ".log");
        qputenv("TUNEFOLD_RUN_LOG", QFile::encodeName(log));
        const auto runs = [&log] {
            QFile written(log);
            return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
        };
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(store) == store.size() && file.flush());
        RegFileStore registry(file.fileName());
        DetachedProgramStarter starter;
        test::RecordingMessageBox messages;
        StartSysInfo(registry, starter, messages);
        StartSysInfo(registry, starter, messages);

        // No title: the application's.
        const test::ShownMessage unavailable{
            u"System Information Is Unavailable At This Time"_s, 0, {}};
        QCOMPARE(messages.shown, QList<test::ShownMessage>(started.isEmpty() ? 2 : 0, unavailable));
        const QByteArray twice = started.isEmpty() ? "" : (started + '\n').repeated(2).toUtf8();
        QTRY_COMPARE_WITH_TIMEOUT(runs(), twice, 10000);
        QTest::qWait(100); // a program that should not have run has had time to show itself
        QCOMPARE(runs(), twice);
    }

    // The store that the build writes leads to the program it builds.
    void shippedStore()
    {
        RegFileStore store(QStringLiteral(TUNEFOLD_BIN_DIR "/machine.reg"));
        QString path;
        QVERIFY(GetKeyValue(store, HKEY_LOCAL_MACHINE,
                            u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s, u"PATH"_s, path));
        QCOMPARE(path, QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-sysinfo"));
    }
};

QTEST_GUILESS_MAIN(tst_SysInfoLauncher)
#include "tst_sysinfolauncher.moc"
