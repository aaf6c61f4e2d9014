// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoLauncher.h"
#include "doubles/Doubles.h"
#include "platform/DetachedProgramStarter.h"
#include "platform/RegFileStore.h"
#include "registry/GetKeyValue.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace tunefold;
using namespace Qt::StringLiterals;

namespace {

const QByteArray FirstKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
const QByteArray SecondKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n";

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

// The programs are a script, "first" and a copy "loc/MSINFO32.EXE", that
// writes the path it was started by ($0) as a line of the row's run log: the
// test sees what ran and under which name. Each row presses System Info...
// twice; every press consults the store afresh and starts its own program.
class tst_SysInfoLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && QDir(m_dir.path()).mkdir(u"loc"_s));
        QFile script(m_dir.filePath(u"first"_s));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$0\" >> \"$TUNEFOLD_RUN_LOG\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(script.copy(m_dir.filePath(u"loc/MSINFO32.EXE"_s)));
    }

    // A valid second value stands behind the first wherever the first must
    // win: consulting it would start its program.
    void launch_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<QString>("started"); // by each press; none: a message instead

        const QByteArray dir = QFile::encodeName(m_dir.path());
        const QByteArray first = FirstKey + "\"PATH\"=\"" + dir + "/first\"\n";
        const QByteArray second = SecondKey + "\"MSINFO\"=\"" + dir + "/loc\"\n";
        // clang-format off
        QTest::newRow("both valid: the first is started") << first + second << m_dir.filePath(u"first"_s);
        QTest::newRow("first key missing: the folder of the second") << second << m_dir.filePath(u"loc/MSINFO32.EXE"_s);
        QTest::newRow("first names a missing file: second not consulted") << FirstKey + "\"PATH\"=\"" + dir + "/gone\"\n" + second << QString();
        QTest::newRow("first is an expandable string: no second lookup") << FirstKey + "\"PATH\"=hex(2):" + (dir + "/first").toHex(',') + ",00\n" + second << QString();
        QTest::newRow("second ends in a separator: doubled, started unchanged") << SecondKey + "\"MSINFO\"=\"" + dir + "/loc/\"\n" << m_dir.path() + "/loc//MSINFO32.EXE";
        QTest::newRow("neither present") << QByteArray() << QString();
        // clang-format on
    }

    void launch()
    {
        QFETCH(QByteArray, store);
        QFETCH(QString, started);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write("REGEDIT4\r\n\r\n" + store) > 0 && file.flush());
        const QString log = m_dir.filePath(u"run%1.log"_s.arg(++m_rows));
        qputenv("TUNEFOLD_RUN_LOG", QFile::encodeName(log));
        RegFileStore registry(file.fileName());
        DetachedProgramStarter starter;
        test::RecordingMessageBox messages;
        StartSysInfo(registry, starter, messages);
        StartSysInfo(registry, starter, messages);

        const test::ShownMessage unavailable{u"System Information Is Unavailable At This Time"_s, 0,
                                             QString()}; // the application title
        QCOMPARE(messages.shown, QList<test::ShownMessage>(started.isEmpty() ? 2 : 0, unavailable));
        const QStringList runs = started.isEmpty() ? QStringList() : QStringList{started, started};
        QTRY_COMPARE_WITH_TIMEOUT(linesOf(log), runs, 10000);
        QTest::qWait(100); // a program that should not have run has had time to show itself
        QCOMPARE(linesOf(log), runs);
    }

    // The store that the build writes leads to the program it builds.
    void shippedStore()
    {
        RegFileStore store(QStringLiteral(TUNEFOLD_BIN_DIR "/machine.reg"));
        QString path;
        QVERIFY(GetKeyValue(store, HKEY_LOCAL_MACHINE,
                            u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s, u"PATH"_s, path));
        QCOMPARE(path, QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-sysinfo"));
        QVERIFY(DetachedProgramStarter().isOrdinaryFile(path));
        QVERIFY(QFileInfo(path).isExecutable());
    }

private:
    QTemporaryDir m_dir;
    int m_rows = 0;
};

QTEST_GUILESS_MAIN(tst_SysInfoLauncher)
#include "tst_sysinfolauncher.moc"
