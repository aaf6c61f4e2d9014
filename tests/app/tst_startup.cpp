// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Starts copies of the built program from folders of their own, where what
// stands beside it is up to the test.
class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutPointerFile_data();
    void withoutPointerFile();

private:
    // A folder holding a copy of the program, and hand.cur with content
    // unless content is null.
    static bool prepare(const QTemporaryDir &folder, const QByteArray &content);
    static void start(QProcess &process, const QTemporaryDir &folder);
};

bool tst_Startup::prepare(const QTemporaryDir &folder, const QByteArray &content)
{
    if (!QFile::copy(QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold"), folder.filePath("tunefold")))
        return false;
    if (content.isNull())
        return true;
    QFile pointer(folder.filePath("hand.cur"));
    return pointer.open(QIODevice::WriteOnly) && pointer.write(content) == content.size();
}

void tst_Startup::start(QProcess &process, const QTemporaryDir &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
    process.start(folder.filePath("tunefold"), {});
}

void tst_Startup::withoutPointerFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("report");
    QTest::newRow("missing") << QByteArray() << "Run-time error 2: No such file or directory: ";
    QTest::newRow("not a pointer")
        << QByteArray("GIF89a") << "Run-time error 1001: Invalid pointer file: ";
}

void tst_Startup::withoutPointerFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, report);
    QTemporaryDir folder;
    QVERIFY(prepare(folder, content));

    QProcess program;
    start(program, folder);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(program.exitCode() != 0);
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(errors.contains(report + folder.filePath("hand.cur")), qPrintable(errors));
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
