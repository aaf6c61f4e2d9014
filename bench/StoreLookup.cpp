// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-bench-store STORE: one press of System Info... against the store
// file STORE, through the launcher and the store that the About box uses,
// with a starter that starts nothing. Prints one line:
//   <seconds> <CPU seconds> <baseline KiB> <peak KiB above it> <KiB above it afterwards>
// where the baseline is the resident memory just before the press.

#include "about/SysInfoLauncher.h"
#include "platform/RegFileStore.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {

// A field of /proc/self/status, in KiB.
long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    }
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct NoProgram final : tunefold::ProgramStarter
{
    bool isOrdinaryFile(const QString &) override { return false; }
    bool start(const QString &) override { return false; }
};

struct NoBox final : tunefold::MessageBox
{
    void show(const QString &, int, const QString &) override {}
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: tunefold-bench-store STORE\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    NoProgram starter;
    NoBox messages;

    // Resets the peak (VmHWM) to the present resident size, so the peak
    // below is the press's own.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long baseline = statusKiB("VmRSS:");
    const double startCpu = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    {
        // As the About box does: a new store for each press.
        tunefold::RegFileStore store(path);
        tunefold::StartSysInfo(store, starter, messages);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const double cpu = cpuSeconds() - startCpu;
    const long peak = statusKiB("VmHWM:");
    const long after = statusKiB("VmRSS:");
    std::printf("%.6f %.6f %ld %ld %ld\n", seconds.count(), cpu, baseline, peak - baseline,
                after - baseline);
    return 0;
}
