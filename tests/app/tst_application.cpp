// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/ErrorReport.h"
#include "forms/ProgramPointer.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <exception>
#include <new>
#include <stdexcept>
#include <system_error>

using namespace tunefold;
Q_DECLARE_METATYPE(std::exception_ptr)

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
    // Qt does not carry exceptions through its event loop: whatever a
    // handler lets out reaches the application's error handler, under the
    // number and message the report shows.
    void errorFromHandlerIsReported_data()
    {
        QTest::addColumn<std::exception_ptr>("exception");
        QTest::addColumn<QString>("report");
        const auto error = [](auto exception) { return std::make_exception_ptr(exception); };
        // clang-format off
        QTest::newRow("run-time error") << error(RuntimeError(EACCES, "Permission denied: /x")) << "Run-time error 13: Permission denied: /x";
        QTest::newRow("system error") << error(std::system_error(ENOSPC, std::generic_category(), "/x")) << "Run-time error 28: /x: No space left on device";
        QTest::newRow("out of memory") << error(std::bad_alloc()) << "Run-time error 12: Cannot allocate memory";
        QTest::newRow("other exception") << error(std::logic_error("broken")) << "Run-time error 1002: broken";
        QTest::newRow("not an exception") << error(42) << "Run-time error 1002: Unknown error";
        // clang-format on
    }
    void errorFromHandlerIsReported()
    {
        QFETCH(std::exception_ptr, exception);
        QFETCH(QString, report);
        auto *app = static_cast<Application *>(QCoreApplication::instance());
        QStringList caught;
        app->setErrorHandler([&](const RuntimeError &error) { caught << runtimeErrorText(error); });
        QTimer::singleShot(0, app, [exception] { std::rethrow_exception(exception); });
        QTRY_COMPARE(caught, QStringList{report});
        app->setErrorHandler(&Application::endWithRuntimeError);
    }

    // Qt reads a cursor file's image but not its hotspot, which must lie on
    // the image.
    void pointerFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QPoint>("hotspot"); // (-1, -1): the file is refused
        const QPoint refused(-1, -1);
        QTest::newRow("hotspot") << iconFile(2, 3, 11) << QPoint(3, 11);
        QTest::newRow("hotspot on the last pixel") << iconFile(2, 15, 15) << QPoint(15, 15);
        QTest::newRow("hotspot right of the image") << iconFile(2, 16, 2) << refused;
        QTest::newRow("hotspot below the image") << iconFile(2, 2, 16) << refused;
        QTest::newRow("an icon, not a cursor") << iconFile(1, 0, 0) << refused;
    }
    void pointerFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QPoint, hotspot);
        QTemporaryFile cursor;
        QVERIFY(cursor.open() && cursor.write(content) > 0 && cursor.flush());
        try {
            QCOMPARE(loadPointerFile(cursor.fileName()).hotSpot(), hotspot);
        } catch (const RuntimeError &error) {
            QCOMPARE(runtimeErrorText(error),
                     "Run-time error 1001: Invalid pointer file: " + cursor.fileName());
            QCOMPARE(hotspot, QPoint(-1, -1));
        }
    }

    // Started without a display it can use, the program says so in one
    // line, points to tunefold-list, and fails with status 1. (Without
    // hand.cur it reports a run-time error: smoke.sh starts it so.)
    void startWithoutDisplay()
    {
        // No display at all, then an X display that does not answer.
        for (const QString display : {"", ":4242"}) {
            QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                system.remove(name);
            if (!display.isEmpty())
                system.insert("DISPLAY", display);
            QProcess program;
            program.setProcessEnvironment(system);
            program.start(TUNEFOLD_BIN_DIR "/tunefold", {});
            QVERIFY(program.waitForFinished(20000));
            const QByteArray errors = program.readAllStandardError();
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
            QCOMPARE(errors.count('\n'), 1);
            QVERIFY(errors.contains("desktop session") && errors.contains("tunefold-list"));
        }
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
