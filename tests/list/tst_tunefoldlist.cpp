// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppIdentity.h"
#include "doubles/Doubles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <unistd.h>

using tunefold::test::makeFile;

// tunefold-list as scripts use it, on real folders, hostile names and a
// disk that fills up.
class tst_TunefoldList : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode;
        QByteArray out, err;
    };

    Run run(const QString &program, const QStringList &arguments,
            const QString &stdoutFile = {}) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.insert(QStringLiteral("LC_NUMERIC"), QStringLiteral("de_DE.UTF-8"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        if (!stdoutFile.isEmpty())
            process.setStandardOutputFile(stdoutFile);
        process.start(program, arguments);
        if (!process.waitForFinished(60000))
            qFatal("%s did not finish", qPrintable(program));
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    // As root, runs as nobody, whom folder modes stop.
    Run list(const QStringList &arguments, const QString &stdoutFile = {}) const
    {
        const QString program = QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list");
        if (::geteuid() != 0)
            return run(program, arguments, stdoutFile);
        return run(QStringLiteral("setpriv"),
                   QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                               QStringLiteral("--clear-groups"), program} +
                       arguments,
                   stdoutFile);
    }

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        // Open to everyone: a run as nobody then meets only the permissions
        // that a case sets.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777)));
        for (const char *folder : {"empty", "music", "-music", "locked", "fixed", "many", "small",
                                   "lf", "partial/locked"})
            QVERIFY(QDir(m_dir.path()).mkpath(QString::fromLatin1(folder)));
        for (int i = 0; i < 400; ++i) // about 120 KB of document for 64 KB of disk
            makeFile(QFile::encodeName(path(QStringLiteral("many/%1.mp3").arg(i))));
        makeFile(QFile::encodeName(path(QStringLiteral("music/one.mp3"))), 1572864);
        makeFile(QFile::encodeName(path(QStringLiteral("-music/one.mp3"))));
        makeFile(QFile::encodeName(path(QStringLiteral("lf/one.mp3"))));
        makeFile(QFile::encodeName(path(QStringLiteral("partial/one.mp3"))));
        makeFile(QFile::encodeName(path(QStringLiteral("partial/locked/hidden.mp3"))));
        makeFile(QFile::encodeName(path(QStringLiteral("lf/a\x1b[2J\nb.mp3"))));
        makeFile(QFile::encodeName(path(QStringLiteral("fixed/open.html"))));
        QVERIFY(QFile::setPermissions(path(QStringLiteral("fixed/open.html")),
                                      QFileDevice::Permissions(0x6666)));
        QVERIFY(
            QFile::setPermissions(path(QStringLiteral("fixed")), QFileDevice::Permissions(0x5555)));
        QVERIFY(QFile::setPermissions(path(QStringLiteral("locked")), {}));
        QVERIFY(QFile::setPermissions(path(QStringLiteral("partial/locked")), {}));
    }
    void cleanupTestCase()
    {
        for (const char *folder : {"locked", "fixed", "partial/locked"})
            QFile::setPermissions(path(QString::fromLatin1(folder)),
                                  QFileDevice::Permissions(0x7777));
    }

    // Every way a run ends: its status, a part of its standard output and
    // the start of its one line on standard error. kept.html is never touched.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("fullStdout");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("error");
        // Arguments are split at each blank: " x" is an empty name and x.
        const auto row = [](const char *name, const char *arguments, int status,
                            const QByteArray &out, const char *error, bool fullStdout = false) {
            QTest::newRow(name) << QString::fromLatin1(arguments).split(u' ') << fullStdout
                                << status << out << QByteArray(error);
        };
        row("help", "--help", 0, "Usage: tunefold-list ", "");
        row("version", "--version", 0,
            "tunefold-list " + tunefold::app::versionNumber().toLatin1() + '\n', "");
        row("-- ends options", "-- -music -", 0, "0,00 MB</TD>\r\n</TR>\r\n</TABLE>\r\n",
            "1 MP3's were generated");
        row("unknown option", "--bogus music kept.html", 2, "",
            "tunefold-list: Unknown option 'bogus'.");
        row("one argument", "kept.html", 2, "", "tunefold-list: expected FOLDER and OUTPUT");
        row("three arguments", "music kept.html x", 2, "",
            "tunefold-list: expected FOLDER and OUTPUT");
        row("unknown format", "--format=csv music kept.html", 2, "",
            "tunefold-list: unknown format 'csv'");
        row("unknown sort key", "--sort=size music kept.html", 2, "",
            "tunefold-list: unknown sort key 'size'");
        // A sub-folder that cannot be read is told and skipped, the list
        // still complete.
        row("unreadable sub-folder", "-r --format=page partial -", 2, "href=\"one.mp3\"",
            "tunefold-list: partial/locked: Permission denied\n1 MP3's were generated");
        // The name is told on one line, its control characters escaped.
        row("name a playlist refuses", "--format=m3u lf list.m3u", 2, "1 MP3's were generated",
            "tunefold-list: lf/a\\x1B[2J\\nb.mp3: a line break in the name cannot stand in an "
            "M3U playlist\n");
        row("no mp3", "empty kept.html", 1, "", "Sorry, there are no MP3's in this directory\n");
        row("empty folder name", " kept.html", 2, "",
            "tunefold-list: : No such file or directory\n");
        row("missing folder", "nowhere kept.html", 2, "",
            "tunefold-list: nowhere: No such file or directory\n");
        row("folder a file", "kept.html -", 2, "", "tunefold-list: kept.html: Not a directory\n");
        row("unreadable folder", "locked -", 2, "", "tunefold-list: locked: Permission denied\n");
        row("target in no folder", "music nowhere/list.html", 2, "",
            "tunefold-list: nowhere/list.html: No such file or directory\n");
        row("target a folder", "music empty", 2, "", "tunefold-list: empty: Is a directory\n");
        // Written in place: the folder takes no temporary file.
        row("target in a folder we may not write", "music fixed/open.html", 0,
            "1 MP3's were generated, have a nice day!\n", "");
        row("message lost", "music list.html", 2, "",
            "tunefold-list: standard output: No space left on device\n", true);
        row("document lost", "music -", 2, "",
            "tunefold-list: standard output: No space left on device\n", true);
    }
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, fullStdout);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, error);
        makeFile(QFile::encodeName(path(QStringLiteral("kept.html"))), 3);
        const Run result = list(arguments, fullStdout ? QStringLiteral("/dev/full") : QString());
        QTEST(result.exitCode, "status");
        QVERIFY2(result.out.contains(out), result.out);
        QVERIFY2(result.err.startsWith(error), result.err);
        QCOMPARE(result.err.count('\n'),
                 error.count('\n') + !error.isEmpty() - error.endsWith('\n'));
        QCOMPARE(QFileInfo(path(QStringLiteral("kept.html"))).size(), 3);
    }

    // A replaced file reaches the disk before it takes the old one's name,
    // and the new name with the folder after.
    void replacementIsDurable()
    {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is not installed");
        makeFile(QFile::encodeName(path(QStringLiteral("durable.html"))));
        const Run traced =
            run(strace, {QStringLiteral("-f"), QStringLiteral("-y"), QStringLiteral("-qq"),
                         QStringLiteral("-o"), path(QStringLiteral("trace")), QStringLiteral("-e"),
                         QStringLiteral("trace=fsync,fdatasync,rename,renameat,"
                                        "renameat2"),
                         QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"), QStringLiteral("music"),
                         QStringLiteral("durable.html")});
        QCOMPARE(traced.exitCode, 0);
        QFile trace(path(QStringLiteral("trace")));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        QString calls = QString::fromUtf8(trace.readAll());
        calls.replace(QDir(m_dir.path()).canonicalPath(), QStringLiteral("F"))
            .replace(QRegularExpression(QStringLiteral("^\\d+ +|(?<=[(, ])\\d+(?=<)"),
                                        QRegularExpression::MultilineOption),
                     QString())
            .replace(QRegularExpression(QStringLiteral("\\.tunefold-\\w{6}")), QStringLiteral("T"))
            .replace(QRegularExpression(QStringLiteral("renameat2\\((.*), 0\\)")),
                     QStringLiteral("renameat(\\1)"));
        QCOMPARE(calls, QStringLiteral("fdatasync(<F/T>) = 0\n"
                                       "renameat(<F>, \"T\", <F>, \"durable.html\") = 0\n"
                                       "fsync(<F>) = 0\n"));
    }

    // Targets that take a shell: a name that is not UTF-8 and so cannot be
    // a QProcess argument; a real full disk and a device node, each in a
    // private mount namespace with a tmpfs of its own, which root and,
    // through a user namespace, ordinary users may usually make (a device
    // node only root), whose scripts start with "mount". $1 is a folder to
    // use, $2 tunefold-list, $3 a folder of 400 entries.
    void scripted_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("name not UTF-8")
            << QStringLiteral(
                   "cd \"$1\"; name=$(printf 'l\\351'); printf old >\"$name\"\n"
                   "\"$2\" \"$3\" \"$name\" >/dev/null; echo \"status=$?\"; ls; rm \"$name\"\n"
                   "\"$2\" \"$3\" \"no$name/x\" 2>&1")
            << QByteArray("status=0\nl\xe9\ntunefold-list: nol\xe9/x: No such file or directory\n");
        QTest::newRow("disk fills")
            << QStringLiteral("mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 77\n"
                              "printf old > \"$1/list.html\"\n"
                              "\"$2\" \"$3\" \"$1/list.html\" 2>&1; echo \"status=$? "
                              "content=$(cat \"$1/list.html\") files=$(ls -A \"$1\")\"")
            << "tunefold-list: " + QFile::encodeName(path(QStringLiteral("small"))) +
                   "/list.html: No space left on device\nstatus=2 content=old files=list.html\n";
        QTest::newRow("device")
            << QStringLiteral(
                   "mount -t tmpfs tmpfs \"$1\" && mknod \"$1/null\" c 1 3 || exit 77\n"
                   "\"$2\" \"$3\" \"$1/null\"; echo \"status=$? $(stat -c %F \"$1/null\")\"")
            << QByteArray("400 MP3's were generated, have a nice day!\n"
                          "status=0 character special file\n");
    }
    void scripted()
    {
        QFETCH(QString, script);
        const bool privateMount = script.startsWith(u"mount");
        QStringList arguments{QStringLiteral("-c"),
                              script,
                              QStringLiteral("sh"),
                              path(QStringLiteral("small")),
                              QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"),
                              path(QStringLiteral("many"))};
        QString program = QStringLiteral("sh");
        if (privateMount) {
            // Root makes the namespace without a user namespace, whose
            // mounts would refuse devices.
            arguments.prepend(program);
            if (::geteuid() != 0)
                arguments.prepend(QStringLiteral("--map-root-user"));
            arguments.prepend(QStringLiteral("--mount"));
            program = QStringLiteral("unshare");
        }
        const Run result = run(program, arguments);
        if (privateMount && result.exitCode != 0)
            QSKIP("no tmpfs in a private mount namespace here, or, not being root, no device "
                  "node; tst_listgeneration's failing output covers the full disk");
        QTEST(result.out, "expected");
    }
};

QTEST_GUILESS_MAIN(tst_TunefoldList)
#include "tst_tunefoldlist.moc"
