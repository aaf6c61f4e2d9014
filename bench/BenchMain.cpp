// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-bench: the figures of list generation's performance goals, side by
// side with find and tree, measured in one run. Prints Markdown tables.

#include "MusicFolders.h"
#include "Parts.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <linux/magic.h>
#include <set>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/statfs.h>
#include <sys/utsname.h>
#include <unistd.h>

using namespace tunefold::bench;

namespace {

constexpr char Usage[] =
    "Usage: tunefold-bench [--cache DIR] [--bin DIR] [--runs N] [--parts LIST]\n"
    "Times tunefold-list against find and tree, measures its memory and system\n"
    "calls, the start-up of the tunefold window under Xvfb and one press of\n"
    "System Info... against large store files.\n"
    "  --cache DIR   reusable test folders and outputs (default /tmp/tunefold-bench)\n"
    "  --bin DIR     folder of tunefold-list and tunefold (default: this program's)\n"
    "  --runs N      timed runs of each command, at least 5 (default 9)\n"
    "  --parts LIST  comma-separated: wall,memory,syscalls,startup,store,folderlist,\n"
    "                tags,nested,mix,big (default all)\n";

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    std::string folder(path, std::size_t(length));
    return folder.substr(0, folder.rfind('/'));
}

std::string cpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    }
    return "unknown";
}

std::string fileSystem(const std::string &path)
{
    struct statfs info;
    if (statfs(path.c_str(), &info) != 0)
        return "unknown";
    switch (info.f_type) {
    case EXT4_SUPER_MAGIC:
        return "ext4 (or ext2/3)";
    case TMPFS_MAGIC:
        return "tmpfs";
    case XFS_SUPER_MAGIC:
        return "xfs";
    case BTRFS_SUPER_MAGIC:
        return "btrfs";
    case OVERLAYFS_SUPER_MAGIC:
        return "overlay";
    }
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "type 0x%lx", static_cast<unsigned long>(info.f_type));
    return unknown;
}

// The other work on the machine, which the wall times include.
std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void printMachine(const Settings &settings, bool raisedPriority)
{
    utsname system;
    uname(&system);
    std::printf("## tunefold-bench\n\n");
    std::printf("Machine: %ld CPUs (%s), Linux %s, folders on %s (%s); load average at "
                "the start %s\n\n",
                sysconf(_SC_NPROCESSORS_ONLN), cpuModel().c_str(), system.release,
                fileSystem(settings.cache).c_str(), settings.cache.c_str(), loadAverage().c_str());
    std::printf("Measured programs ran at %s.\n\n",
                raisedPriority ? "nice -20, ahead of the machine's other work"
                               : "normal priority (nice -20 needs root)");
}

std::set<std::string> parseParts(const std::string &list)
{
    std::set<std::string> parts;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        parts.insert(list.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

} // namespace

int main(int argc, char **argv)
{
    Settings settings;
    settings.binDir = programFolder();
    settings.cache = "/tmp/tunefold-bench";
    std::set<std::string> parts = {"wall",       "memory", "syscalls", "startup", "store",
                                   "folderlist", "tags",   "nested",   "mix",     "big"};
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--cache" && hasValue) {
            settings.cache = argv[++i];
        } else if (option == "--bin" && hasValue) {
            settings.binDir = argv[++i];
        } else if (option == "--runs" && hasValue) {
            settings.runs = std::max(5, std::atoi(argv[++i]));
        } else if (option == "--parts" && hasValue) {
            parts = parseParts(argv[++i]);
        } else {
            std::fputs(Usage, option == "--help" ? stdout : stderr);
            return option == "--help" ? 0 : 2;
        }
    }

    try {
        makeFolder(settings.cache);
        makeFolder(settings.cache + "/out");
        // The folders take minutes to make the first time: only for the
        // parts that list them.
        const bool listing =
            parts.count("wall") || parts.count("memory") || parts.count("syscalls");
        const auto folder = [&](std::uint64_t entries) {
            return listing ? benchFolder(settings.cache, entries) : BenchFolder{};
        };
        const BenchFolder small = folder(1'000);
        const BenchFolder medium = folder(100'000);
        const BenchFolder large = folder(1'000'000);

        // On a shared machine the other work would otherwise take turns with
        // the measured programs and stretch their wall times at random; the
        // programs inherit the priority.
        const bool raisedPriority = setpriority(PRIO_PROCESS, 0, -20) == 0;
        printMachine(settings, raisedPriority);
        bool met = true;
        if (parts.count("wall"))
            met = reportWallTimes(settings, {medium, large}) && met;
        if (parts.count("memory"))
            met = reportMemory(settings, small, large) && met;
        if (parts.count("syscalls"))
            met = reportSyscalls(settings, medium) && met;
        if (parts.count("tags"))
            met = reportTags(settings, taggedFolder(settings.cache, 10'000)) && met;
        if (parts.count("mix"))
            met = reportFormatMix(settings) && met;
        if (parts.count("nested"))
            met = reportNested(settings, nestedFolder(settings.cache, 10, 100),
                               nestedFolder(settings.cache, 1'000, 100)) &&
                  met;
        if (parts.count("big"))
            met = reportBigFolders(settings) && met;
        if (parts.count("startup"))
            met = reportStartup(settings) && met;
        if (parts.count("store"))
            met = reportStore(settings) && met;
        if (parts.count("folderlist"))
            met = reportFolderList(settings) && met;
        std::printf("Load average at the end: %s. All goals measured here: %s\n",
                    loadAverage().c_str(), met ? "met" : "NOT all met");
        return met ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "tunefold-bench: %s\n", error.what());
        return 2;
    }
}
