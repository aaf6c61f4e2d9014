// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DetachedProgramStarter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace tunefold;

// Files of one folder, made fresh for each row: "prog" a script that notes
// how it was started, a hidden one, one whose name a shell would split, a
// folder "dir", links to both and one to nothing, and a named pipe. Folders,
// missing and unstartable programs as the launcher meets them are covered by
// tst_sysinfolauncher.
class tst_ProgramStarter : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const
    {
        return name.isEmpty() ? QString() : m_dir->filePath(name);
    }
    QString runLog() const { return m_dir->filePath(QStringLiteral("ran.log")); }

    void writeScript(const QString &name, QFile::Permissions permissions)
    {
        QFile script(path(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$0|$#\" >> '" + QFile::encodeName(runLog()) + "'\n");
        script.close();
        QVERIFY(script.setPermissions(permissions));
    }

    QStringList runs() const
    {
        QFile log(runLog());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const auto exe = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        writeScript(QStringLiteral("prog"), exe);
        writeScript(QStringLiteral(".hidden"), exe);
        writeScript(QStringLiteral("a b; touch x"), exe);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("dir")));
        QVERIFY(QFile::link(path("prog"), path("link")));
        QVERIFY(QFile::link(path("dir"), path("dirlink")));
        QVERIFY(QFile::link(path("gone"), path("broken")));
        QVERIFY(QFile::link(path("prog"), path(".hiddenlink")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    }

    void isOrdinaryFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("expected");

        QTest::newRow("regular file") << "prog" << true;
        QTest::newRow("doubled separator") << "dir//../prog" << true;
        QTest::newRow("link to a file") << "link" << true;
        QTest::newRow("folder") << "dir" << false;
        QTest::newRow("link to a folder") << "dirlink" << false;
        QTest::newRow("broken link") << "broken" << false;
        QTest::newRow("hidden file") << ".hidden" << false;
        QTest::newRow("hidden link to a file") << ".hiddenlink" << false;
        QTest::newRow("named pipe") << "fifo" << false;
        QTest::newRow("missing") << "gone" << false;
        QTest::newRow("file taken as a folder") << "prog/" << false;
        QTest::newRow("zero inside the name") << QStringLiteral("prog\0x") << false;
        QTest::newRow("empty") << "" << false;
    }

    void isOrdinaryFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, expected);
        QCOMPARE(DetachedProgramStarter().isOrdinaryFile(path(name)), expected);
    }

    void start_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("ran"); // the name it ran under, "|", its argument count

        QTest::newRow("script") << "prog" << true << "prog|0";
        QTest::newRow("doubled separator") << "dir//../prog" << true << "dir//../prog|0";
        QTest::newRow("link") << "link" << true << "link|0";
        // No shell: blanks and ";" are part of the one program name.
        QTest::newRow("blanks and a semicolon") << "a b; touch x" << true << "a b; touch x|0";
        QTest::newRow("zero inside the name") << QStringLiteral("prog\0x") << false << "";
        QTest::newRow("empty") << "" << false << "";
    }

    void start()
    {
        QFETCH(QString, name);
        QFETCH(bool, expected);
        QFETCH(QString, ran);

        QCOMPARE(DetachedProgramStarter().start(path(name)), expected);
        const QStringList expectedRuns =
            ran.isEmpty() ? QStringList() : QStringList{m_dir->filePath(ran)};
        QTRY_COMPARE_WITH_TIMEOUT(runs(), expectedRuns, 10000);
        QVERIFY(!QFile::exists(path("x")));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramStarter)
#include "tst_programstarter.moc"
