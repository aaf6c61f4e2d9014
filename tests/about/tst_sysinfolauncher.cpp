// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoLauncher.h"
#include "doubles/Doubles.h"
#include "platform/DetachedProgramStarter.h"
#include "platform/RegFileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;
using namespace Qt::StringLiterals;

// The programs are copies of a script, "first", that notes the name it was
// started under ($0) and its argument count as a line of ran.log: the test
// sees what ran and under which name. Beside them lie a link to it and a
// folder, in the test's current folder, where a shell would act. Each row
// starts with no run noted; the rows before it waited for what they started.
class tst_SysInfoLauncher : public QObject
{
    Q_OBJECT

    const QString HostileName = u"-n \"q\" 'q'; $(touch x) `touch x` & touch x"_s;
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray runs() const { return test::readFile(path(u"ran.log"_s)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()) && QDir().mkdir("dir"));
        QFile script(u"first"_s);
        QVERIFY(script.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(script.write("#!/bin/sh\necho \"$0|$#\" >> '" + QFile::encodeName(path("ran.log")) +
                             "'\n") > 0);
        QVERIFY(script.copy("MSINFO32.EXE") && script.copy(".hidden") && script.copy(HostileName) &&
                QFile::link("first", "link"));
    }
    void init() { QFile::remove(path(u"ran.log"_s)); }

    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ordinary");
        QTest::addColumn<QString>("ran"); // the name it ran under, "|", its argument count

        QTest::newRow("link to a file") << "link" << true << "link|0";
        QTest::newRow("folder") << "dir" << false << "";
        QTest::newRow("hidden file") << ".hidden" << false << ".hidden|0";
        QTest::newRow("zero inside the name") << u"first\0x"_s << false << "";
        // No shell: blanks, quotes, ";" and substitutions are all part of the
        // one program name, and only a shell would create "x".
        QTest::newRow("what a shell would split") << HostileName << true << HostileName + "|0";
    }
    void files()
    {
        QFETCH(QString, name);
        QFETCH(bool, ordinary);
        QFETCH(QString, ran);
        QCOMPARE(DetachedProgramStarter().isOrdinaryFile(path(name)), ordinary);
        QCOMPARE(DetachedProgramStarter().start(path(name)), !ran.isEmpty());
        const QByteArray expected = ran.isEmpty() ? "" : QFile::encodeName(path(ran)) + '\n';
        QTRY_COMPARE_WITH_TIMEOUT(runs(), expected, 10000);
        QVERIFY(!QFile::exists(path("x")));
    }

    // Each row presses System Info... twice; every press consults the store
    // afresh and starts its own program. A valid second value stands behind
    // the first wherever the first must win: consulting it would start its
    // program.
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
        QTest::newRow("both valid: the first is started") << first + second << path(u"first"_s);
        QTest::newRow("first set, then deleted: the folder of the second") << first + "[-" + firstKey.sliced(1) + second << path(u"MSINFO32.EXE"_s);
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
        test::writeFile(path(u"machine.reg"_s), store);
        RegFileStore registry(path(u"machine.reg"_s));
        DetachedProgramStarter starter;
        test::RecordingMessageBox messages;
        StartSysInfo(registry, starter, messages);
        StartSysInfo(registry, starter, messages);

        // No title: the application's.
        const test::ShownMessage unavailable{
            u"System Information Is Unavailable At This Time"_s, 0, {}};
        QCOMPARE(messages.shown, QList<test::ShownMessage>(started.isEmpty() ? 2 : 0, unavailable));
        const QByteArray twice = started.isEmpty() ? "" : (started + "|0\n").repeated(2).toUtf8();
        QTRY_COMPARE_WITH_TIMEOUT(runs(), twice, 10000);
        QTest::qWait(100); // a program that should not have run has had time to show itself
        QCOMPARE(runs(), twice);
    }
};

QTEST_GUILESS_MAIN(tst_SysInfoLauncher)
#include "tst_sysinfolauncher.moc"
