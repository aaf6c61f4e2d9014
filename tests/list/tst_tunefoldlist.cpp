// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "platform/NarrowText.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

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

    static Run run(const QString &program, const QStringList &arguments,
                   const QString &numeric = QStringLiteral("C"))
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.insert(QStringLiteral("LC_NUMERIC"), numeric);
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        if (!process.waitForFinished(60000))
            qFatal("%s did not finish", qPrintable(program));
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    static Run list(const QStringList &arguments, const QString &numeric = QStringLiteral("C"))
    {
        return run(QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"), arguments, numeric);
    }

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("empty"));
        QDir(m_dir.path()).mkpath(QStringLiteral("music"));
        makeFile(QFile::encodeName(path(QStringLiteral("music/one.mp3"))), 1572864);
    }

    // Wrong arguments, nothing to list and a target that cannot be written
    // each end with their own status and one line, and touch no file.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("error");
        const QString kept = QStringLiteral("kept.html");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QByteArray();
        QTest::newRow("one argument")
            << QStringList{kept} << 2 << QByteArray("tunefold-list: expected");
        QTest::newRow("no mp3") << QStringList{QStringLiteral("empty"), kept} << 1
                                << QByteArray("Sorry, there are no MP3's in this directory\n");
        QTest::newRow("missing folder")
            << QStringList{QStringLiteral("nowhere"), kept} << 1
            << QByteArray("Sorry, there are no MP3's in this directory\n");
        QTest::newRow("target in no folder")
            << QStringList{QStringLiteral("music"), QStringLiteral("nowhere/list.html")} << 2
            << QByteArray("tunefold-list: ") +
                   QFile::encodeName(path(QStringLiteral("nowhere/list.html")));
        QTest::newRow("target a folder")
            << QStringList{QStringLiteral("music"), QStringLiteral("empty")} << 2
            << QByteArray("tunefold-list: ") + QFile::encodeName(path(QStringLiteral("empty")));
    }
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, error);
        makeFile(QFile::encodeName(path(QStringLiteral("kept.html"))), 3);
        for (QString &argument : arguments)
            argument = argument.startsWith(u'-') ? argument : path(argument);
        const Run result = list(arguments);
        QTEST(result.exitCode, "status");
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
        const Run toStdout = list({path(QStringLiteral("music")), QStringLiteral("-")},
                                  QStringLiteral("de_DE.UTF-8"));
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
