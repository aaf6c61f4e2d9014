// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DetachedProgramStarter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tunefold;

namespace {
const QString HostileName = QStringLiteral("-n \"q\" 'q'; $(touch x) `touch x` & touch x");
}

// Each row gets a fresh folder holding "prog", a script that notes the name
// it was started under and its argument count, copies of it named ".hidden"
// and a name a shell would split and act on, a link to it and a folder.
// How the launcher meets these is covered by tst_sysinfolauncher.
class tst_ProgramStarter : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList runs() const
    {
        QFile log(path(QStringLiteral("ran.log")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile script(path(QStringLiteral("prog")));
        QVERIFY(m_dir->isValid() && script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$0|$#\" >> '" + QFile::encodeName(path("ran.log")) + "'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(script.copy(path(".hidden")) && script.copy(path(HostileName)));
        QVERIFY(QDir(m_dir->path()).mkdir("dir") && QFile::link(path("prog"), path("link")));
    }

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
        const QStringList expected = ran.isEmpty() ? QStringList() : QStringList{path(ran)};
        QTRY_COMPARE_WITH_TIMEOUT(runs(), expected, 10000);
        QVERIFY(!QFile::exists(path("x")));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramStarter)
#include "tst_programstarter.moc"
