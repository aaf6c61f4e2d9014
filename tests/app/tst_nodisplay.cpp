// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QProcess>
#include <QTest>

class tst_NoDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Started without a display it can use, the program says so in one
    // line, points to tunefold-list, and fails with status 1.
    void startWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("no display at all") << QStringList{};
        QTest::newRow("an X display that does not answer") << QStringList{"DISPLAY=:4242"};
    }
    void startWithoutDisplay()
    {
        QFETCH(QStringList, environment);
        QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            system.remove(name);
        for (const QString &setting : environment)
            system.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess program;
        program.setProcessEnvironment(system);
        program.start(TUNEFOLD_BIN_DIR "/tunefold", {});
        QVERIFY(program.waitForFinished(20000));
        const QByteArray errors = program.readAllStandardError();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(errors.count('\n'), 1);
        QVERIFY2(errors.contains("desktop session") && errors.contains("tunefold-list"), errors);
    }
};

QTEST_GUILESS_MAIN(tst_NoDisplay)
#include "tst_nodisplay.moc"
