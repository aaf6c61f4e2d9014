// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemFacts.h"

#include <QFile>
#include <QStringList>
#include <sys/utsname.h>
#include <unistd.h>

namespace tunefold::sysinfo {

namespace {

// Calls f(key, value) for every "key<separator>value" line, both trimmed.
template <typename F> void forEachField(QByteArrayView text, char separator, F f)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = text.sliced(start, end - start);
        start = end + 1;
        const qsizetype at = line.indexOf(separator);
        if (at > 0)
            f(line.first(at).trimmed(), line.sliced(at + 1).trimmed());
    }
}

// os-release values follow shell quoting: "..." with \ escapes, '...' taken
// literally, and \ escaping one character outside quotes.
QString unquote(QByteArrayView value)
{
    QByteArray out;
    char quote = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quote == 0 && (c == '"' || c == '\''))
            quote = c;
        else if (c == quote)
            quote = 0;
        else if (c == '\\' && quote != '\'' && i + 1 < value.size())
            out += value[++i];
        else
            out += c;
    }
    return QString::fromUtf8(out);
}

std::optional<qint64> leadingNumber(QByteArrayView text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    bool ok = false;
    const qint64 value = text.first(end).toByteArray().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QByteArray readFile(const QString &path)
{
    // /proc files report a size of 0; readAll reads on until the end.
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString orUnknown(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("unknown") : text;
}

} // namespace

QString osPrettyName(QByteArrayView osRelease)
{
    QString pretty;
    QString name;
    // Later assignments win, as they would in a shell.
    forEachField(osRelease, '=', [&](QByteArrayView key, QByteArrayView value) {
        if (key == "PRETTY_NAME")
            pretty = unquote(value);
        else if (key == "NAME")
            name = unquote(value);
    });
    if (!pretty.isEmpty())
        return pretty;
    return name.isEmpty() ? QStringLiteral("Linux") : name;
}

ProcessorSummary parseCpuInfo(QByteArrayView cpuInfo)
{
    ProcessorSummary summary;
    // "model name" on x86; other machines name the model differently, and
    // some ARM kernels use "Processor" for it beside "processor" entries.
    QString fallback;
    forEachField(cpuInfo, ':', [&](QByteArrayView key, QByteArrayView value) {
        if (key == "processor")
            ++summary.count;
        else if (key == "model name" && summary.model.isEmpty())
            summary.model = QString::fromUtf8(value);
        else if ((key == "Hardware" || key == "cpu model" || key == "Processor") &&
                 fallback.isEmpty())
            fallback = QString::fromUtf8(value);
    });
    if (summary.model.isEmpty())
        summary.model = fallback;
    return summary;
}

MemorySummary parseMemInfo(QByteArrayView memInfo)
{
    MemorySummary summary;
    forEachField(memInfo, ':', [&](QByteArrayView key, QByteArrayView value) {
        if (key == "MemTotal")
            summary.totalKiB = leadingNumber(value);
        else if (key == "MemAvailable")
            summary.availableKiB = leadingNumber(value);
    });
    return summary;
}

std::optional<qint64> parseUptime(QByteArrayView uptime)
{
    return leadingNumber(uptime.trimmed());
}

QString formatKiB(qint64 kib)
{
    if (kib >= 1024 * 1024)
        return QString::number(double(kib) / (1024 * 1024), 'f', 1) + QStringLiteral(" GiB");
    if (kib >= 1024)
        return QString::number(double(kib) / 1024, 'f', 1) + QStringLiteral(" MiB");
    return QString::number(kib) + QStringLiteral(" KiB");
}

QString formatUptime(qint64 seconds)
{
    const qint64 minutes = seconds / 60 % 60;
    const qint64 hours = seconds / 3600 % 24;
    const qint64 days = seconds / 86400;
    QStringList parts;
    const auto add = [&parts](qint64 count, const char *one, const char *many) {
        if (count > 0)
            parts << QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
    };
    add(days, "day", "days");
    add(hours, "hour", "hours");
    add(minutes, "minute", "minutes");
    return parts.isEmpty() ? QStringLiteral("0 minutes") : parts.join(QStringLiteral(", "));
}

SystemFacts readSystemFacts()
{
    SystemFacts facts;
    QByteArray osRelease = readFile(QStringLiteral("/etc/os-release"));
    if (osRelease.isEmpty())
        osRelease = readFile(QStringLiteral("/usr/lib/os-release"));
    facts.operatingSystem = osPrettyName(osRelease);

    utsname names{};
    if (::uname(&names) == 0) {
        facts.kernel = QStringLiteral("%1 %2 (%3)")
                           .arg(QString::fromUtf8(names.sysname), QString::fromUtf8(names.release),
                                QString::fromUtf8(names.machine));
        facts.hostName = QString::fromUtf8(names.nodename);
    }

    ProcessorSummary cpu = parseCpuInfo(readFile(QStringLiteral("/proc/cpuinfo")));
    if (cpu.count == 0)
        cpu.count = int(qMax(0L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    facts.processorModel = cpu.model;
    if (cpu.count > 0)
        facts.processorCount = QString::number(cpu.count);

    const MemorySummary memory = parseMemInfo(readFile(QStringLiteral("/proc/meminfo")));
    if (memory.totalKiB)
        facts.memoryTotal = formatKiB(*memory.totalKiB);
    if (memory.availableKiB)
        facts.memoryAvailable = formatKiB(*memory.availableKiB);
    if (const auto seconds = parseUptime(readFile(QStringLiteral("/proc/uptime"))))
        facts.uptime = formatUptime(*seconds);

    for (QString *text :
         {&facts.kernel, &facts.hostName, &facts.processorModel, &facts.processorCount,
          &facts.memoryTotal, &facts.memoryAvailable, &facts.uptime})
        *text = orUnknown(*text);
    return facts;
}

} // namespace tunefold::sysinfo
