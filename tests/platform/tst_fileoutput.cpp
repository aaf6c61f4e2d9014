// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Processes.h"
#include "platform/FileOutput.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace tunefold;

namespace {

// More than a pipe holds, so a FIFO's reader must take part while it is written.
const std::string Document = std::string(100000, 'x') + "end";
constexpr char DocumentSize[] = "100003\n";

// Runs script in folder, with $t naming the target: a name that is not UTF-8.
test::Run shell(const QString &folder, const QByteArray &script)
{
    return test::run(QStringLiteral("sh"),
                     {QStringLiteral("-c"), QString::fromLatin1("t=$(printf 'l\\351'); " + script)},
                     folder);
}

const QByteArray Target = "l\xe9";

} // namespace

// Every kind of target keeps what it is: its kind, links, owner and
// attributes; a replaced file is replaced only by a complete document.
class tst_FileOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { umask(022); }

    // setup makes the target in an empty folder; check describes the folder
    // afterwards. A setup that exits 77 needs what this machine lacks.
    void targets_data()
    {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<QByteArray>("error");
        QTest::addColumn<QByteArray>("check");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *name, const QByteArray &setup, const char *error,
                            const char *check, const QByteArray &expected) {
            QTest::newRow(name) << setup << QByteArray(error) << QByteArray(check) << expected;
        };
        const QByteArray size = DocumentSize;
        row("new file", "", "", "stat -c '%F %a' \"$t\"; ls -A",
            "regular file 644\n" + Target + '\n');
        row("FIFO with a reader",
            "mkfifo \"$t\"; (cat \"$t\" >got && mv got read) >/dev/null 2>&1 &", "",
            "until [ -e read ]; do sleep 0.1; done; wc -c <read; stat -c %F \"$t\"",
            size + "fifo\n");
        row("FIFO whose reader leaves", "mkfifo \"$t\"; head -c 1 \"$t\" >/dev/null 2>&1 &",
            "Broken pipe", "stat -c %F \"$t\"", "fifo\n");
        row("hard link", "echo old >\"$t\"; ln \"$t\" u", "", "stat -c %h \"$t\"; wc -c <u",
            "2\n" + size);
        row("other owner, set-group-ID",
            "echo old >\"$t\"; chown 65534:65534 \"$t\" && chmod 2640 \"$t\" || exit 77", "",
            "stat -c '%u:%g %a' \"$t\"; wc -c <\"$t\"", "65534:65534 2640\n" + size);
        row("extended attribute",
            "echo old >\"$t\"; setfattr -n user.tag -v kept \"$t\" || exit 77", "",
            "getfattr --only-values -n user.tag \"$t\"; echo; wc -c <\"$t\"", "kept\n" + size);
        // The temporary file inherits the folder's default ACL; the old
        // file's own ACL, or its having none, must win.
        const char *defaultAcl = "; setfacl -d -m u:65533:rwx . || exit 77";
        row("own ACL, default ACL on the folder",
            QByteArray("echo old >\"$t\"; setfacl -m u:65534:r \"$t\"") + defaultAcl, "",
            "getfacl -cpn \"$t\"; wc -c <\"$t\"",
            "user::rw-\nuser:65534:r--\ngroup::r--\nmask::r--\nother::r--\n\n" + size);
        row("no ACL, default ACL on the folder", QByteArray("echo old >\"$t\"") + defaultAcl, "",
            "getfacl -cpn \"$t\"", "user::rw-\ngroup::r--\nother::r--\n\n");
        row("link to a file", "echo old >f; ln -s f \"$t\"", "", "stat -c %F \"$t\"; wc -c <f",
            "symbolic link\n" + size);
        row("link to nothing", "ln -s f \"$t\"", "", "stat -c %F \"$t\"; wc -c <f",
            "symbolic link\n" + size);
        row("link loop", "ln -s u \"$t\"; ln -s \"$t\" u", "Too many levels of symbolic links",
            "stat -c %F \"$t\" u", "symbolic link\nsymbolic link\n");
        row("folder", "mkdir \"$t\"", "Is a directory", "stat -c %F \"$t\"", "directory\n");
    }
    void targets()
    {
        QFETCH(QByteArray, setup);
        QFETCH(QByteArray, error);
        QFETCH(QByteArray, check);
        QTemporaryDir dir;
        const test::Run made = shell(dir.path(), setup);
        if (made.status == 77)
            QSKIP(
                "this machine cannot make that target (it takes root, user.* attributes or ACLs)");
        QCOMPARE(made.status, 0);
        FileOutput output;
        const bool written = output.open(QFile::encodeName(dir.path()) + '/' + Target) &&
                             output.write(Document) && output.commit();
        QCOMPARE(output.errorString().toUtf8(), error);
        QCOMPARE(written, error.isEmpty());
        QTEST(shell(dir.path(), check + "; rm -rf ./*").out, "expected");
    }

    // The old content stays until commit; a discard leaves no trace, also
    // of a file that was new.
    void replacesOnlyOnCommit()
    {
        QTemporaryDir dir;
        const QByteArray target = QFile::encodeName(dir.path()) + '/' + Target;
        const auto look = [&dir] { return shell(dir.path(), "ls -A; cat \"$t\"").out; };
        QCOMPARE(shell(dir.path(), "echo old >\"$t\"").status, 0);
        FileOutput output;
        QVERIFY(output.open(target) && output.write(Document));
        QCOMPARE(shell(dir.path(), "cat \"$t\"").out, QByteArray("old\n"));
        output.discard();
        QVERIFY(output.open(QFile::encodeName(dir.filePath(QStringLiteral("new")))));
        output.discard();
        QCOMPARE(look(), Target + "\nold\n");
        QVERIFY(output.open(target) && output.write("new\n") && output.commit());
        QCOMPARE(look(), Target + "\nnew\n");
        (void)shell(dir.path(), "rm \"$t\"");
    }
};

QTEST_GUILESS_MAIN(tst_FileOutput)
#include "tst_fileoutput.moc"
