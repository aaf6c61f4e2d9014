// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/ProgramPointer.h"
#include "app/RuntimeError.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <cerrno>

using namespace tunefold;

class tst_Application : public QObject
{
    Q_OBJECT

    // A 16 x 16 file in the icon format of type 1 (icon) or 2 (cursor), made
    // from the icon file that Qt writes: a cursor file differs in the type
    // word and in the entry's bytes 4 to 7, the hotspot.
    static QByteArray iconFile(char type, char hotX, char hotY)
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QBuffer buffer; // an empty result if the writer fails, which no case expects
        image.save(&buffer, "ico");
        const char entry[] = {hotX, 0, hotY, 0};
        return buffer.buffer().replace(2, 1, &type, 1).replace(10, 4, entry, 4);
    }

private Q_SLOTS:
    // Qt does not carry exceptions through its event loop: one that a
    // handler lets out reaches the application's error handler intact.
    void errorFromHandlerIsCaught()
    {
        auto *app = static_cast<Application *>(QCoreApplication::instance());
        QStringList caught;
        app->setErrorHandler([&](const RuntimeError &error) { caught << runtimeErrorText(error); });
        QTimer::singleShot(0, app, [] { throw RuntimeError(EACCES, "Permission denied: /x"); });
        QTRY_COMPARE(caught, QStringList{"Run-time error 13: Permission denied: /x"});
        app->setErrorHandler(&Application::endWithRuntimeError);
    }

    // Qt reads a cursor file's image but not its hotspot.
    void hotspotFromFile()
    {
        QTemporaryFile cursor;
        QVERIFY(cursor.open() && cursor.write(iconFile(2, 3, 11)) > 0 && cursor.flush());
        QCOMPARE(loadPointerFile(cursor.fileName()).hotSpot(), QPoint(3, 11));
    }

    // The program, copied to a folder of its own, with a hand.cur it cannot
    // use: a run-time error naming the file, and a failure status. The
    // program runs on the platform this test runs on, offscreen.
    void startWithoutPointerFile_data()
    {
        QTest::addColumn<QByteArray>("content"); // of hand.cur; null: there is none
        QTest::addColumn<QString>("report");
        // clang-format off
        QTest::newRow("missing") << QByteArray() << "Run-time error 2: No such file or directory: ";
        QTest::newRow("hotspot off the image") << iconFile(2, 16, 2) << "Run-time error 1001: Invalid pointer file: ";
        QTest::newRow("an icon, not a cursor") << iconFile(1, 0, 0) << "Run-time error 1001: Invalid pointer file: ";
        // clang-format on
    }
    void startWithoutPointerFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, report);
        QTemporaryDir folder;
        QVERIFY(QFile::copy(TUNEFOLD_BIN_DIR "/tunefold", folder.filePath("tunefold")));
        QFile cursor(folder.filePath("hand.cur"));
        QVERIFY(content.isNull() ||
                (cursor.open(QIODevice::WriteOnly) && cursor.write(content) > 0 && cursor.flush()));
        QProcess program;
        program.start(folder.filePath("tunefold"), {});
        QVERIFY(program.waitForFinished(20000));
        QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() != 0);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(errors.contains(report + folder.filePath("hand.cur")), qPrintable(errors));
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
