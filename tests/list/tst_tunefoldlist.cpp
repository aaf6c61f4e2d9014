// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppIdentity.h"
#include "doubles/Doubles.h"
#include "platform/NarrowText.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <unistd.h>

using tunefold::test::makeFile;

namespace {

struct Options
{
    QString numeric = QStringLiteral("C");
    bool unprivileged = false; // as root, drop to nobody for this run
    QString stdoutFile;        // instead of a pipe
};

} // namespace

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

    Run run(const QString &program, QStringList arguments, const Options &options = {}) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.insert(QStringLiteral("LC_NUMERIC"), options.numeric);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        if (!options.stdoutFile.isEmpty())
            process.setStandardOutputFile(options.stdoutFile);
        if (options.unprivileged && ::geteuid() == 0) {
            arguments.prepend(program);
            arguments =
                QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                            QStringLiteral("--clear-groups")} +
                arguments;
        }
        process.start(options.unprivileged && ::geteuid() == 0 ? QStringLiteral("setpriv")
                                                               : program,
                      arguments);
        if (!process.waitForFinished(60000))
            qFatal("%s did not finish", qPrintable(program));
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    Run list(const QStringList &arguments, const Options &options = {}) const
    {
        return run(QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"), arguments, options);
    }

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        // Open to everyone: a run as nobody then meets only the permissions
        // that a case sets.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777)));
        for (const char *folder : {"empty", "music", "-music", "locked"})
            QVERIFY(QDir(m_dir.path()).mkpath(QString::fromLatin1(folder)));
        makeFile(QFile::encodeName(path(QStringLiteral("music/one.mp3"))), 1572864);
        makeFile(QFile::encodeName(path(QStringLiteral("-music/one.mp3"))));
        QVERIFY(QFile::setPermissions(path(QStringLiteral("locked")), {}));
    }

    // Every way a run ends: its status, the start of its standard output
    // and of its one line on standard error. kept.html is never touched.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("fullStdout");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("error");
        const QString kept = QStringLiteral("kept.html");
        const QString music = QStringLiteral("music");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << false << 0
                              << QByteArray("Usage: tunefold-list ") << QByteArray();
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << false << 0
                                 << "tunefold-list " + tunefold::app::versionNumber().toLatin1() +
                                        '\n'
                                 << QByteArray();
        QTest::newRow("-- ends options")
            << QStringList{QStringLiteral("--"), QStringLiteral("-music"), QStringLiteral("-")}
            << false << 0 << QByteArray("<P>") << QByteArray("1 MP3's were generated");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--bogus"), music, kept} << false << 2 << QByteArray()
            << QByteArray("tunefold-list: Unknown option 'bogus'.");
        QTest::newRow("one argument") << QStringList{kept} << false << 2 << QByteArray()
                                      << QByteArray("tunefold-list: expected FOLDER and OUTPUT");
        QTest::newRow("no mp3") << QStringList{QStringLiteral("empty"), kept} << false << 1
                                << QByteArray()
                                << QByteArray("Sorry, there are no MP3's in this directory\n");
        QTest::newRow("empty folder name")
            << QStringList{QString(), kept} << false << 2 << QByteArray()
            << QByteArray("tunefold-list: : No such file or directory\n");
        QTest::newRow("missing folder")
            << QStringList{QStringLiteral("nowhere"), kept} << false << 2 << QByteArray()
            << QByteArray("tunefold-list: nowhere: No such file or directory\n");
        QTest::newRow("folder a file")
            << QStringList{kept, QStringLiteral("-")} << false << 2 << QByteArray()
            << QByteArray("tunefold-list: kept.html: Not a directory\n");
        QTest::newRow("unreadable folder")
            << QStringList{QStringLiteral("locked"), QStringLiteral("-")} << false << 2
            << QByteArray() << QByteArray("tunefold-list: locked: Permission denied\n");
        QTest::newRow("target in no folder")
            << QStringList{music, QStringLiteral("nowhere/list.html")} << false << 2 << QByteArray()
            << QByteArray("tunefold-list: nowhere/list.html: ");
        QTest::newRow("target a folder")
            << QStringList{music, QStringLiteral("empty")} << false << 2 << QByteArray()
            << QByteArray("tunefold-list: empty: ");
        QTest::newRow("message lost")
            << QStringList{music, QStringLiteral("list.html")} << true << 2 << QByteArray()
            << QByteArray("tunefold-list: standard output: No space left "
                          "on device\n");
        QTest::newRow("document lost")
            << QStringList{music, QStringLiteral("-")} << true << 2 << QByteArray()
            << QByteArray("tunefold-list: standard output: No space "
                          "left on device\n");
    }
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, fullStdout);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, error);
        makeFile(QFile::encodeName(path(QStringLiteral("kept.html"))), 3);
        Options options;
        options.unprivileged = true; // root would read the locked folder
        options.stdoutFile = fullStdout ? QStringLiteral("/dev/full") : QString();
        const Run result = list(arguments, options);
        QTEST(result.exitCode, "status");
        QVERIFY2(result.out.startsWith(out), result.out);
        QVERIFY2(result.err.startsWith(error), result.err);
        QCOMPARE(result.err.count('\n'), error.isEmpty() ? 0 : 1);
        QCOMPARE(QFileInfo(path(QStringLiteral("kept.html"))).size(), 3);
    }

    void writes()
    {
        const Run toFile = list({path(QStringLiteral("music")), path(QStringLiteral("list.html"))});
        QCOMPARE(toFile.exitCode, 0);
        QCOMPARE(toFile.out, QByteArray("1 MP3's were generated, have a nice day!\n"));
        QFile written(path(QStringLiteral("list.html")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count("\r\n"), 9);
        // To standard output, the message moves to standard error; the
        // separator follows the locale.
        Options german;
        german.numeric = QStringLiteral("de_DE.UTF-8");
        const Run toStdout = list({path(QStringLiteral("music")), QStringLiteral("-")}, german);
        QCOMPARE(toStdout.exitCode, 0);
        QVERIFY(toStdout.out.endsWith("<TD WIDTH='50%'>1,50 MB</TD>\r\n</TR>\r\n</TABLE>\r\n"));
        QCOMPARE(toStdout.err, toFile.out);
    }

    // Every byte value in a name, the longest names, other scripts and
    // broken UTF-8: each name cell stays one line with no raw markup and
    // keeps its width.
    void hostileNames()
    {
        const QByteArray folder = QFile::encodeName(path(QStringLiteral("hostile"))) + '/';
        QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
        QList<QByteArray> names = {QByteArray(251, 'x') + ".mp3", QByteArray(251, '<') + ".mp3",
                                   QStringLiteral("Пісня 音楽 أغنية.mp3").toUtf8(),
                                   "\xC3\x28\xA0\xA1\xE2\x28\xA1\xF0\x90\x28\xBC.mp3"};
        for (int byte = 1; byte < 256; ++byte) {
            if (byte != '/')
                names.append("n" + QByteArray(1, char(byte)) + ".mp3");
        }
        for (const QByteArray &name : names)
            makeFile(folder + name);

        const Run result = list({QFile::decodeName(folder), QStringLiteral("-")});
        std::filesystem::remove_all(
            folder.constData()); // QDir cannot remove names that are not UTF-8
        QCOMPARE(result.exitCode, 0);
        const QList<QByteArray> lines = result.out.split('\n');
        QCOMPARE(lines.size(), 5 + 4 * names.size() + 1);
        for (qsizetype i = 5; i < lines.size() - 3; i += 4) {
            QVERIFY(lines[i].endsWith("</TD>\r"));
            const QByteArray field = lines[i].chopped(6);
            const QByteArray text = field.left(field.indexOf('\0'));
            QVERIFY2(!text.contains('<') && !text.contains('>') && !text.contains('\r'), text);
            const std::size_t width = tunefold::narrowCharCount(text.toStdString());
            QCOMPARE(field.mid(text.size()),
                     QByteArray(width < 260 ? 260 - qsizetype(width) : 1, '\0'));
        }
    }

    // A real full disk: a small tmpfs in a private mount namespace, which
    // root and, through a user namespace, ordinary users may usually make.
    void diskFills()
    {
        const QString folder = path(QStringLiteral("many"));
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < 400; ++i) // about 120 KB of document for 64 KB of disk
            makeFile(QFile::encodeName(folder + QStringLiteral("/%1.mp3").arg(i)));
        QVERIFY(QDir().mkpath(path(QStringLiteral("small"))));
        const QString script = QStringLiteral(
            "mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 77\n"
            "printf old > \"$1/list.html\"\n"
            "\"$2\" \"$3\" \"$1/list.html\" 2>&1; echo \"status=$? content=$(cat \"$1/list.html\") "
            "files=$(ls -A \"$1\")\"");
        const Run result =
            run(QStringLiteral("unshare"),
                {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("sh"),
                 QStringLiteral("-c"), script, QStringLiteral("sh"), path(QStringLiteral("small")),
                 QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"), folder});
        if (result.exitCode != 0)
            QSKIP("no tmpfs in a private mount namespace here; tst_listgeneration's failing "
                  "output covers this path");
        QCOMPARE(result.out, "tunefold-list: " + QFile::encodeName(path(QStringLiteral("small"))) +
                                 "/list.html: No space left on device\n"
                                 "status=2 content=old files=list.html\n");
    }
};

QTEST_GUILESS_MAIN(tst_TunefoldList)
#include "tst_tunefoldlist.moc"
