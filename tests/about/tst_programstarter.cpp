// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DetachedProgramStarter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;

// A folder holding "prog", a script that notes the name it was started under
// and its argument count, copies of it named ".hidden" and a name a shell
// would split and act on, a link to it and a folder. It is the test's
// current folder, where a shell would act. How the launcher meets these is
// covered by tst_sysinfolauncher.
class tst_ProgramStarter : public QObject
{
    Q_OBJECT

    const QString HostileName = QStringLiteral("-n \"q\" 'q'; $(touch x) `touch x` & touch x");
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray runs() const
    {
        QFile log(path(QStringLiteral("ran.log")));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()) && QDir().mkdir("dir"));
        QFile script(QStringLiteral("prog"));
        QVERIFY(script.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(script.write("#!/bin/sh\necho \"$0|$#\" >> ran.log\n") > 0);
        QVERIFY(script.copy(".hidden") && script.copy(HostileName) && QFile::link("prog", "link"));
    }
    // Each row starts with no run noted. The rows before it waited for the
    // programs they started.
    void init() { QFile::remove(path(QStringLiteral("ran.log"))); }

    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ordinary");
        QTest::addColumn<QString>("ran"); // the name it ran under, "|", its argument count

        QTest::newRow("link to a file") << "link" << true << "link|0";
        QTest::newRow("folder") << "dir" << false << "";
        QTest::newRow("hidden file") << ".hidden" << false << ".hidden|0";
        QTest::newRow("zero inside the name") << QStringLiteral("prog\0x") << false << "";
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
};

QTEST_GUILESS_MAIN(tst_ProgramStarter)
#include "tst_programstarter.moc"
