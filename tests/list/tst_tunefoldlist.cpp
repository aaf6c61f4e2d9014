// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppIdentity.h"
#include "doubles/Doubles.h"
#include "doubles/Mp3Files.h"
#include "doubles/Processes.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

// The sanitizers' runtime opens files of its own and stops a program traced
// by another (LeakSanitizer traces it itself), so a limit on descriptors or
// a tracer tests the runtime there, not the program.
#ifdef __SANITIZE_ADDRESS__
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

using tunefold::test::makeFile;
using namespace Qt::StringLiterals;

// tunefold-list as scripts use it, on real folders, hostile names and a
// disk that fills up.
class tst_TunefoldList : public QObject
{
    Q_OBJECT

    using Run = tunefold::test::Run;
    // As root, runs as nobody, whom folder modes stop.
    Run list(const QStringList &arguments) const
    {
        QStringList command{QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list")};
        if (::geteuid() == 0)
            command = u"setpriv --reuid=65534 --regid=65534 --clear-groups"_s.split(u' ') + command;
        return tunefold::test::run(command.takeFirst(), command + arguments, m_dir.path());
    }

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray file(const QByteArray &name) const
    {
        return QFile::encodeName(path(QString::fromUtf8(name)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Open to everyone: a run as nobody then meets only the permissions
        // that a case sets.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777)));
        for (const char *folder : {"empty", "music", "-music", "locked", "fixed", "many", "small",
                                   "lf", "partial/locked", "kinds"})
            QVERIFY(QDir(m_dir.path()).mkpath(QString::fromLatin1(folder)));
        for (int i = 0; i < 400; ++i) // about 120 KB of document for 64 KB of disk
            makeFile(file(QByteArray::number(i).prepend("many/") + ".mp3"));
        makeFile(file("music/one.mp3"), 1572864);
        for (const char *name : {"-music/one.mp3", "partial/one.mp3", "partial/locked/hidden.mp3",
                                 "fixed/open.html", "kinds/a.mp3", "kinds/b.flac", "kinds/c.opus",
                                 "kinds/d.OGG", "kinds/e.txt", "kinds/f.aac"})
            makeFile(file(name));
        // A playlist takes only what plays.
        for (const char *name : {"lf/one.mp3", "lf/a\x1b[2J\nb.mp3"})
            QVERIFY(tunefold::test::writeMp3(file(name).constData(), nullptr));
        QVERIFY(::chmod(file("fixed/open.html"), 0666) == 0 && ::chmod(file("fixed"), 0555) == 0 &&
                ::chmod(file("locked"), 0) == 0 && ::chmod(file("partial/locked"), 0) == 0);
    }
    void cleanupTestCase()
    {
        for (const char *folder : {"locked", "fixed", "partial/locked"})
            ::chmod(file(folder), 0777);
    }

    // Every way a run ends: its status, a part of its standard output and
    // the start of its one line on standard error. kept.html is never touched.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("error");
        // Arguments are split at each blank: " x" is an empty name and x.
        const auto row = [](const char *name, const char *arguments, int status,
                            const QByteArray &out, const char *error) {
            QTest::newRow(name) << QString::fromLatin1(arguments).split(u' ') << status << out
                                << QByteArray(error);
        };
        row("help", "--help", 0, "Usage: tunefold-list ", "");
        row("version", "--version", 0,
            "tunefold-list " + tunefold::app::versionNumber().toLatin1() + '\n', "");
        row("-- ends options", "-- -music -", 0, "0,00 MB</TD>\r\n</TR>\r\n</TABLE>\r\n",
            "1 MP3's were generated");
        row("unknown option", "--bogus music kept.html", 2, "",
            "tunefold-list: Unknown option 'bogus'.");
        row("one argument", "kept.html", 2, "", "tunefold-list: expected FOLDER and OUTPUT");
        row("unknown format", "--format=xml music kept.html", 2, "",
            "tunefold-list: unknown format 'xml'");
        row("unknown sort key", "--sort=size music kept.html", 2, "",
            "tunefold-list: unknown sort key 'size'");
        // A sub-folder that cannot be read is told and skipped, the list
        // still complete; entries on standard output start with FOLDER as typed.
        row("unreadable sub-folder", "-r --format=page ./partial/ -", 2,
            "href=\"./partial/one.mp3\"",
            "tunefold-list: ./partial/locked: Permission denied\n1 MP3's were generated");
        // The name is told on one line, its control characters escaped.
        row("name a playlist refuses", "--format=m3u lf list.m3u", 2, "1 MP3's were generated",
            "tunefold-list: lf/a\\x1B[2J\\nb.mp3: a line break");
        row("no mp3", "empty kept.html", 1, "", "Sorry, there are no MP3's in this directory\n");
        row("empty folder name", " kept.html", 2, "",
            "tunefold-list: : No such file or directory\n");
        row("missing folder", "nowhere kept.html", 2, "",
            "tunefold-list: nowhere: No such file or directory\n");
        row("unreadable folder", "locked -", 2, "", "tunefold-list: locked: Permission denied\n");
        row("match replaces *.mp3", "--format json --match *.FLAC --match *.ogg kinds -", 0,
            "\"path\":\"d.OGG\"", "2 MP3's were generated");
        row("audio", "--format json --audio kinds -", 0, "\"path\":\"c.opus\"",
            "4 MP3's were generated");
        row("match a path", "--match a/*.mp3 kinds -", 2, "",
            "tunefold-list: --match 'a/*.mp3' can match no name;");
        // Written in place: the folder takes no temporary file.
        row("target in a folder we may not write", "music fixed/open.html", 0,
            "1 MP3's were generated, have a nice day!\n", "");
    }
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, error);
        makeFile(file("kept.html"), 3);
        const Run result = list(arguments);
        QTEST(result.status, "status");
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
        if (Sanitized)
            QSKIP("the sanitizers' runtime cannot run under strace; the plain build is traced");
        makeFile(file("durable.html"));
        const Run traced = tunefold::test::run(
            strace,
            QStringLiteral("-f -y -qq -o trace -e "
                           "trace=fsync,fdatasync,rename,renameat,renameat2 " TUNEFOLD_BIN_DIR
                           "/tunefold-list music durable.html")
                .split(u' '),
            m_dir.path());
        QCOMPARE(traced.status, 0);
        // The calls that matter, in order, each with the name of what it was
        // made on: the temporary file, then the folder.
        static const QRegularExpression call(
            QStringLiteral("(\\w+?)2?\\(\\d+<[^>]*/([^/>]*)>.* = 0$"),
            QRegularExpression::MultilineOption);
        QStringList calls;
        for (const QRegularExpressionMatch &match :
             call.globalMatch(QString::fromUtf8(tunefold::test::readFile(path(u"trace"_s)))))
            calls << match.captured(1) + u' ' + match.captured(2).left(10);
        const QString folder = QDir(m_dir.path()).dirName().left(10);
        QCOMPARE(calls,
                 (QStringList{u"fdatasync .tunefold-"_s, "renameat " + folder, "fsync " + folder}));
    }

    // Targets that take a shell: a name that is not UTF-8 and so cannot be
    // a QProcess argument; a real full disk, in a private mount namespace
    // with a tmpfs of its own, which root and, through a user namespace,
    // ordinary users may usually make, whose scripts start with "mount". $1
    // is a folder to use, $2 tunefold-list, $3 a folder of 400 entries.
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
            << "tunefold-list: " + file("small") +
                   "/list.html: No space left on device\nstatus=2 content=old files=list.html\n";
        // The limits of the process: descriptors, file size, memory (each
        // limit below gives a whole list or the old file and a reason; one
        // the sanitizers need cannot start at all), standard output closed
        // or full, or left by its reader.
        QTest::newRow("ulimit -n 12")
            << QStringLiteral("ulimit -n 12; \"$2\" -r --format page \"$3\" \"$1/l.html\" "
                              ">/dev/null; echo \"status=$?\"; rm \"$1/l.html\"")
            << QByteArray("status=0\n");
        QTest::newRow("ulimit -f")
            << QStringLiteral("printf old > \"$1/l.html\"; (ulimit -f 8; \"$2\" \"$3\" "
                              "\"$1/l.html\" 2>&1); echo \"status=$? content=$(cat \"$1/l.html\") "
                              "files=$(ls -A \"$1\")\"; rm \"$1/l.html\"")
            << "tunefold-list: " + file("small") +
                   "/l.html: File too large\nstatus=2 content=old files=l.html\n";
        QTest::newRow("ulimit -v")
            << QStringLiteral(
                   "cd \"$1\"; for v in $(seq 40000 5000 90000); do printf old > l.html\n"
                   "(ulimit -v $v; \"$2\" --format page \"$3\" l.html >/dev/null 2>err); s=$?\n"
                   "case $s-$(cat l.html | head -c 3)-$(ls -A | tr -d '\\n') in\n"
                   "0-\\<\\!D-errl.html|2-old-errl.html|127-old-errl.html) ;;\n"
                   "*) grep -q Sanitizer err || echo \"$v: $s $(ls -A) $(cat err)\";; esac; done\n"
                   "rm l.html err")
            << QByteArray();
        QTest::newRow("standard output closed")
            << QStringLiteral("\"$2\" \"$3\" - 2>&1 >&-; echo \"status=$?\"")
            << QByteArray("tunefold-list: standard output: Bad file descriptor\nstatus=2\n");
        QTest::newRow("message lost")
            << QStringLiteral("\"$2\" \"$3\" \"$1/l.html\" 2>&1 >/dev/full; echo \"status=$?\"; rm "
                              "\"$1/l.html\"")
            << QByteArray("tunefold-list: standard output: No space left on device\nstatus=2\n");
        QTest::newRow("pipe closed early")
            << QStringLiteral("exec 3>&1; { \"$2\" \"$3\" - 2>&3; echo \"status=$?\" >&3; } | "
                              "head -c 100 >/dev/null")
            << QByteArray("tunefold-list: standard output: Broken pipe\nstatus=2\n");
        // Ended mid-write of 300,000 entries: the old file stays; SIGTERM
        // takes the temporary file along, SIGKILL cannot.
        QTest::newRow("SIGTERM and SIGKILL")
            << QStringLiteral(
                   "b=$(mktemp -d /dev/shm/tunefold-XXXXXX 2>/dev/null || mktemp -d); cd \"$b\"\n"
                   "mkdir m; (cd m && seq -f %g.mp3 300000 | xargs touch)\n"
                   "for s in TERM KILL; do printf old > l.html\n"
                   "\"$2\" --format page m l.html & pid=$!\n"
                   "until ls -A | grep -q '^[.]tunefold-'; do :; done; kill -$s $pid; wait $pid\n"
                   "echo \"$s status=$? content=$(cat l.html) temp=$(ls -A | grep -c tunefold)\"\n"
                   "rm -f .tunefold-*; done; cd /; rm -rf \"$b\"")
            << QByteArray(
                   "TERM status=143 content=old temp=0\nKILL status=137 content=old temp=1\n");
        // Another user's link in a sticky folder to a file of root's: the
        // kernel refuses to follow it for root, so nothing of root's is
        // written.
        QTest::newRow("protected link")
            << QStringLiteral(
                   "[ \"$(id -u)\" = 0 ] && [ \"$(cat /proc/sys/fs/protected_symlinks)\" = 1 ] "
                   "|| exit 77\n"
                   "d=\"$1/sticky\"; mkdir -m 1777 \"$d\"; printf root > \"$1/root.txt\"\n"
                   "setpriv --reuid=65534 --regid=65534 --clear-groups ln -s \"$1/root.txt\" "
                   "\"$d/l.html\"\n"
                   "\"$2\" \"$3\" \"$d/l.html\" 2>&1; echo \"status=$? content=$(cat "
                   "\"$1/root.txt\") "
                   "files=$(ls -A \"$d\")\"; rm -rf \"$d\" \"$1/root.txt\"")
            << "tunefold-list: " + file("small") +
                   "/sticky/l.html: Permission denied\nstatus=2 content=root files=l.html\n";
        // Link loops, a link back up and a folder bound inside itself: the
        // walk ends and lists each file once.
        QTest::newRow("loops")
            << QStringLiteral(
                   "mount -t tmpfs tmpfs \"$1\" || exit 77\n"
                   "mkdir -p \"$1/a/b/c\" && touch \"$1/a/b/x.mp3\" && ln -s .. \"$1/a/b/up\" &&"
                   " ln -s loop.mp3 \"$1/a/loop.mp3\" && mount --bind \"$1/a\" \"$1/a/b/c\" || "
                   "exit 77\n"
                   "\"$2\" -r --format fragment \"$1/a\" \"$1/l.html\" 2>&1; echo \"status=$?\"\n"
                   "tr -d '\\000\\r' < \"$1/l.html\" | sed -n 's|\\.mp3</TD>$|.mp3|p' | sort")
            << "tunefold-list: " + file("small") +
                   "/a/b/c: Too many levels of symbolic links\n2 MP3's were generated, have a nice "
                   "day!\nstatus=2\nb/x.mp3\nloop.mp3\n";
    }
    void scripted()
    {
        QFETCH(QString, script);
        if (Sanitized && script.startsWith(u"ulimit -n"))
            QSKIP("the sanitizers' runtime needs descriptors of its own; the plain build is tried");
        const bool privateMount = script.startsWith(u"mount");
        QStringList arguments = {u"-c"_s, script, u"sh"_s, path(u"small"_s)};
        arguments << QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list") << path(u"many"_s);
        QString program = QStringLiteral("sh");
        if (privateMount) {
            // Root needs no user namespace to mount.
            arguments.prepend(program);
            if (::geteuid() != 0)
                arguments.prepend(QStringLiteral("--map-root-user"));
            arguments.prepend(QStringLiteral("--mount"));
            program = QStringLiteral("unshare");
        }
        const Run result = tunefold::test::run(program, arguments, m_dir.path());
        if (result.status == 77)
            QSKIP("not root, or links in sticky folders are not protected here");
        if (privateMount && result.status != 0)
            QSKIP("no tmpfs in a private mount namespace here; tst_listgeneration's failing "
                  "output covers the full disk");
        QTEST(result.out, "expected");
    }
};

QTEST_GUILESS_MAIN(tst_TunefoldList)
#include "tst_tunefoldlist.moc"
