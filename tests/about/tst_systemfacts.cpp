// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfoWindow.h"
#include "SystemFacts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tunefold::sysinfo;
using namespace Qt::StringLiterals;

class tst_SystemFacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The readers take a file's whole text and never fail: what they cannot
    // find comes back empty, zero or nothing.
    void readers()
    {
        // clang-format off
        const auto cpu = [](QByteArrayView text) { return std::pair(parseCpuInfo(text).model, parseCpuInfo(text).count); };
        const auto memory = [](QByteArrayView text) { return std::pair(parseMemInfo(text).totalKiB, parseMemInfo(text).availableKiB); };
        QCOMPARE(osPrettyName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian \\\"12\\\" \\$5\"\nID=debian\n"), u"Debian \"12\" $5"_s);
        QCOMPARE(osPrettyName("PRETTY_NAME='Sch\xc3\xb6n \\ B'"), u"Sch\u00f6n \\ B"_s); // single quotes keep backslashes
        QCOMPARE(osPrettyName("#PRETTY_NAME=\"Hidden\"\nXPRETTY_NAME=No\nNAME=Shown\n"), u"Shown"_s);
        QCOMPARE(cpu("processor\t: 0\nvendor_id\t: X\nmodel name\t: Fast: 3GHz\n\nprocessor\t: 1\nmodel name\t: Fast: 3GHz\n"), std::pair(u"Fast: 3GHz"_s, 2));
        QCOMPARE(cpu("Processor\t: ARMv7 rev 4 (v7l)\nprocessor\t: 0\nprocessor\t: 1\nprocessor\t: 2\nHardware\t: Board\n"), std::pair(u"ARMv7 rev 4 (v7l)"_s, 3));
        QCOMPARE(memory("MemTotal:       16318412 kB\nMemFree:  100 kB\nMemAvailable:    8159206 kB\n"), std::pair(std::optional<qint64>(16318412), std::optional<qint64>(8159206)));
        QCOMPARE(memory("MemTotal: lots\n"), std::pair(std::optional<qint64>(), std::optional<qint64>())); // no number, and no MemAvailable (as before Linux 3.14)
        QCOMPARE(parseUptime("59.99 10.00\n"), std::optional<qint64>(59));
        QCOMPARE(parseUptime(""), std::optional<qint64>());
        QCOMPARE(formatUptime(59), u"0 minutes"_s);
        QCOMPARE(formatUptime(90060), u"1 day, 1 hour, 1 minute"_s);
        QCOMPARE(formatUptime(172920), u"2 days, 2 minutes"_s);
        QCOMPARE(formatKiB(1024), u"1.0 MiB"_s);
        QCOMPARE(formatKiB(16318412), u"15.6 GiB"_s);
        // clang-format on
    }

    // Every row shows something, and what Linux always has is known; the
    // processor's model and the available memory may be missing on some
    // machines. Close closes.
    void window()
    {
        SysInfoWindow window;
        window.show();
        for (const char *name : {"os", "kernel", "host", "cpuModel", "cpuCount", "memTotal",
                                 "memAvailable", "uptime", "screen"}) {
            const auto *label = window.findChild<QLabel *>(QLatin1String(name));
            const bool known = !QByteArray("cpuModel memAvailable").contains(name);
            QVERIFY(label && !label->text().isEmpty() && !(known && label->text() == "unknown"));
        }
        window.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(tst_SystemFacts)
#include "tst_systemfacts.moc"
