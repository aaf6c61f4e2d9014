// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NarrowText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

// tunefold-list against hostile names and a disk that fills up: every line
// of the document stays a line, and a failed write loses nothing.
class tst_Faults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileNames();
    void diskFills();

private:
    static QByteArray list(const QByteArray &folder, int *exitCode);
};

namespace {

const QString ListProgram = QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list");

bool touch(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

} // namespace

QByteArray tst_Faults::list(const QByteArray &folder, int *exitCode)
{
    QProcess process;
    process.start(ListProgram, {QFile::decodeName(folder), QStringLiteral("-")});
    process.waitForFinished(60000);
    *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

void tst_Faults::hostileNames()
{
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path()) + '/';
    QList<QByteArray> names;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '/')
            names.append("n" + QByteArray(1, char(byte)) + ".mp3");
    }
    names.append(QByteArray(251, 'x') + ".mp3");                        // the longest name there is
    names.append(QByteArray(200, '<') + QByteArray(51, '\n') + ".mp3"); // escapes past the width
    names.append(QStringLiteral("Пісня 音楽 أغنية.mp3").toUtf8());
    names.append("\xC3\x28\xA0\xA1\xE2\x28\xA1\xF0\x90\x28\xBC.mp3"); // broken UTF-8
    for (const QByteArray &name : names)
        QVERIFY2(touch(root + name), name.toPercentEncoding().constData());

    int exitCode = -1;
    const QByteArray document = list(root, &exitCode);
    QCOMPARE(exitCode, 0);
    const QList<QByteArray> lines = document.split('\n');
    QCOMPARE(lines.size() - 1, 5 + 4 * names.size());
    QVERIFY(lines.last().isEmpty());
    int nameLines = 0;
    for (qsizetype i = 5; i < lines.size() - 3; i += 4) {
        const QByteArray &line = lines[i];
        QVERIFY(line.endsWith("</TD>\r"));
        const QByteArray field = line.chopped(6);
        const QByteArray text = field.left(field.indexOf('\0'));
        QVERIFY2(!text.contains('<') && !text.contains('>') && !text.contains('\r'),
                 text.constData());
        const std::size_t width = tunefold::narrowCharCount(text.toStdString());
        const qsizetype nuls = field.size() - text.size();
        QCOMPARE(field.count('\0'), nuls); // NULs only after the name
        QCOMPARE(std::size_t(nuls), width < 260 ? 260 - width : 1);
        ++nameLines;
    }
    QCOMPARE(nameLines, names.size());
    // QDir cannot remove names that are not UTF-8.
    std::filesystem::remove_all(root.constData());
}

void tst_Faults::diskFills()
{
    // A real full disk needs a small file system of our own: a tmpfs in a
    // private mount namespace, which root and, through a user namespace,
    // ordinary users may usually make.
    QProcess probe;
    probe.start(
        QStringLiteral("unshare"),
        {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("true")});
    if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
        QSKIP("mount namespaces are not permitted here; the failing-output double in "
              "tst_listgeneration covers this path");

    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("music"));
    QDir(dir.path()).mkdir(QStringLiteral("small"));
    for (int i = 0; i < 400; ++i)
        QVERIFY(touch(QFile::encodeName(dir.filePath(QStringLiteral("music/%1.mp3").arg(i)))));

    // 400 rows make about 120 KB; the file system holds 64 KB.
    const QString script =
        QStringLiteral("mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 99\n"
                       "printf 'old list' > \"$1/list.html\"\n"
                       "\"$2\" \"$3\" \"$1/list.html\" 2>\"$1/err\"; echo \"status=$?\"\n"
                       "echo \"content=$(cat \"$1/list.html\")\"\n"
                       "echo \"files=$(ls -A \"$1\" | tr '\\n' ' ')\"\n"
                       "echo \"error=$(cat \"$1/err\")\"\n");
    QProcess run;
    run.start(QStringLiteral("unshare"),
              {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("sh"),
               QStringLiteral("-c"), script, QStringLiteral("sh"),
               dir.filePath(QStringLiteral("small")), ListProgram,
               dir.filePath(QStringLiteral("music"))});
    QVERIFY(run.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(run.readAllStandardOutput());
    if (output.isEmpty() && run.exitCode() == 99)
        QSKIP("tmpfs cannot be mounted here; the failing-output double covers this path");
    QVERIFY2(output.contains(QStringLiteral("status=2\n")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("content=old list\n")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("files=err list.html \n")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("No space left on device")), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_Faults)
#include "tst_faults.moc"
