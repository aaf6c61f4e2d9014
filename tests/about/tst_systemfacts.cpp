// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfoWindow.h"
#include "SystemFacts.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tunefold::sysinfo;

using OptionalKiB = std::optional<qint64>;
Q_DECLARE_METATYPE(OptionalKiB)

class tst_SystemFacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void osPrettyName_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("double quotes")
            << QByteArray("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                          "(bookworm)\"\nID=debian\n")
            << "Debian GNU/Linux 12 (bookworm)";
        QTest::newRow("single quotes keep backslashes")
            << QByteArray("PRETTY_NAME='A \\ B'") << "A \\ B";
        QTest::newRow("escapes in double quotes")
            << QByteArray("PRETTY_NAME=\"Say \\\"hi\\\" \\$5\"") << "Say \"hi\" $5";
        QTest::newRow("unquoted, CR LF") << QByteArray("PRETTY_NAME=Plain\r\n") << "Plain";
        QTest::newRow("later wins") << QByteArray("PRETTY_NAME=One\nPRETTY_NAME=Two\n") << "Two";
        QTest::newRow("commented out")
            << QByteArray("#PRETTY_NAME=\"Hidden\"\nNAME=Shown\n") << "Shown";
        QTest::newRow("similar key") << QByteArray("XPRETTY_NAME=No\n") << "Linux";
        QTest::newRow("UTF-8") << QByteArray("PRETTY_NAME=\"Sch\xc3\xb6n\"") << "Sch\u00f6n";
        QTest::newRow("empty file") << QByteArray() << "Linux";
    }

    void osPrettyName()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QCOMPARE(tunefold::sysinfo::osPrettyName(text), expected);
    }

    void cpuInfo_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("count");

        QTest::newRow("x86, two processors")
            << QByteArray("processor\t: 0\nvendor_id\t: X\nmodel name\t: Fast CPU @ 3GHz\n\n"
                          "processor\t: 1\nmodel name\t: Fast CPU @ 3GHz\n")
            << "Fast CPU @ 3GHz" << 2;
        QTest::newRow("ARM names the model apart")
            << QByteArray("Processor\t: ARMv7 rev 4 (v7l)\nprocessor\t: 0\nprocessor\t: 1\n"
                          "processor\t: 2\nHardware\t: Board\n")
            << "ARMv7 rev 4 (v7l)" << 3;
        QTest::newRow("no model") << QByteArray("processor : 0\n") << "" << 1;
        QTest::newRow("colon inside the value") << QByteArray("model name : A: B\n") << "A: B" << 0;
        QTest::newRow("empty") << QByteArray() << "" << 0;
    }

    void cpuInfo()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, model);
        QFETCH(int, count);
        const ProcessorSummary summary = parseCpuInfo(text);
        QCOMPARE(summary.model, model);
        QCOMPARE(summary.count, count);
    }

    void memInfo_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<OptionalKiB>("total");
        QTest::addColumn<OptionalKiB>("available");

        QTest::newRow("usual") << QByteArray("MemTotal:       16318412 kB\nMemFree:  100 kB\n"
                                             "MemAvailable:    8159206 kB\n")
                               << OptionalKiB(16318412) << OptionalKiB(8159206);
        QTest::newRow("old kernel without MemAvailable")
            << QByteArray("MemTotal: 1024 kB\n") << OptionalKiB(1024) << OptionalKiB();
        QTest::newRow("garbage value")
            << QByteArray("MemTotal: lots\n") << OptionalKiB() << OptionalKiB();
        QTest::newRow("empty") << QByteArray() << OptionalKiB() << OptionalKiB();
    }

    void memInfo()
    {
        QFETCH(QByteArray, text);
        QFETCH(OptionalKiB, total);
        QFETCH(OptionalKiB, available);
        const MemorySummary summary = parseMemInfo(text);
        QCOMPARE(summary.totalKiB, total);
        QCOMPARE(summary.availableKiB, available);
    }

    void uptime_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<OptionalKiB>("seconds");
        QTest::addColumn<QString>("shown");

        QTest::newRow("fraction dropped")
            << QByteArray("59.99 10.00\n") << OptionalKiB(59) << "0 minutes";
        QTest::newRow("singular parts")
            << QByteArray("90060.5 1\n") << OptionalKiB(90060) << "1 day, 1 hour, 1 minute";
        QTest::newRow("zero parts left out")
            << QByteArray("172920 0") << OptionalKiB(172920) << "2 days, 2 minutes";
        QTest::newRow("hours only") << QByteArray("7200.00") << OptionalKiB(7200) << "2 hours";
        QTest::newRow("empty") << QByteArray() << OptionalKiB() << "";
    }

    void uptime()
    {
        QFETCH(QByteArray, text);
        QFETCH(OptionalKiB, seconds);
        QFETCH(QString, shown);
        QCOMPARE(parseUptime(text), seconds);
        if (seconds)
            QCOMPARE(formatUptime(*seconds), shown);
    }

    void formatKiB_data()
    {
        QTest::addColumn<qint64>("kib");
        QTest::addColumn<QString>("expected");

        QTest::newRow("KiB") << qint64(1023) << "1023 KiB";
        QTest::newRow("MiB") << qint64(1024) << "1.0 MiB";
        QTest::newRow("GiB") << qint64(16318412) << "15.6 GiB";
    }

    void formatKiB()
    {
        QFETCH(qint64, kib);
        QFETCH(QString, expected);
        QCOMPARE(tunefold::sysinfo::formatKiB(kib), expected);
    }

    // Every row shows something, and what Linux always has is known; the
    // processor's model and the available memory may be missing on some
    // machines. Close closes.
    void window()
    {
        SysInfoWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList mayBeUnknown{"cpuModel", "memAvailable"};
        for (const char *name : {"os", "kernel", "host", "cpuModel", "cpuCount", "memTotal",
                                 "memAvailable", "uptime", "screen"}) {
            const auto *label = window.findChild<QLabel *>(QLatin1String(name));
            QVERIFY2(label, name);
            QVERIFY2(!label->text().isEmpty(), name);
            QVERIFY2(mayBeUnknown.contains(QLatin1String(name)) ||
                         label->text() != QLatin1String("unknown"),
                     name);
        }
        QPushButton *close = nullptr;
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->text().remove(u'&') == QLatin1String("Close"))
                close = button;
        QVERIFY(close);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(tst_SystemFacts)
#include "tst_systemfacts.moc"
