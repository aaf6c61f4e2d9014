// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace tunefold::sysinfo {

// The readers below take a file's whole text and never fail: what they cannot
// find comes back empty, zero or nothing, and the window shows "unknown".

// PRETTY_NAME of an os-release text, with its shell quoting removed; NAME
// when that is missing; "Linux" when both are, as os-release(5) suggests.
[[nodiscard]] QString osPrettyName(QByteArrayView osRelease);

struct ProcessorSummary
{
    QString model; // empty when the text names none
    int count = 0; // "processor" entries
};

// The first processor model of a /proc/cpuinfo text and the number of
// processors it lists.
[[nodiscard]] ProcessorSummary parseCpuInfo(QByteArrayView cpuInfo);

struct MemorySummary
{
    std::optional<qint64> totalKiB;
    std::optional<qint64> availableKiB; // absent on kernels before 3.14
};

// MemTotal and MemAvailable of a /proc/meminfo text.
[[nodiscard]] MemorySummary parseMemInfo(QByteArrayView memInfo);

// Whole seconds since boot from a /proc/uptime text.
[[nodiscard]] std::optional<qint64> parseUptime(QByteArrayView uptime);

// A size in KiB as the largest fitting binary unit with one decimal:
// "15.6 GiB", "512.0 MiB", "900 KiB".
[[nodiscard]] QString formatKiB(qint64 kib);

// "1 day, 2 hours, 5 minutes"; parts that are zero are left out, and under a
// minute reads "0 minutes".
[[nodiscard]] QString formatUptime(qint64 seconds);

// What the window shows apart from the screen, read from this system now.
struct SystemFacts
{
    QString operatingSystem;
    QString kernel;
    QString hostName;
    QString processorModel;
    QString processorCount;
    QString memoryTotal;
    QString memoryAvailable;
    QString uptime;
};

[[nodiscard]] SystemFacts readSystemFacts();

} // namespace tunefold::sysinfo
