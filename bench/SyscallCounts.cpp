// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace tunefold::bench {

namespace {

struct Syscalls
{
    std::map<std::string, std::uint64_t> calls; // by system call name
    std::vector<double> writeSizes;             // bytes of each successful write

    [[nodiscard]] std::uint64_t count(const std::string &name) const
    {
        const auto found = calls.find(name);
        return found == calls.end() ? 0 : found->second;
    }
    [[nodiscard]] std::uint64_t stats() const
    {
        return count("statx") + count("newfstatat") + count("fstatat64") + count("stat") +
               count("lstat") + count("fstat");
    }
    [[nodiscard]] std::uint64_t total() const
    {
        std::uint64_t sum = 0;
        for (const auto &[name, number] : calls)
            sum += number;
        return sum;
    }
};

Command underStrace(const Settings &settings, const Command &command,
                    std::vector<std::string> straceOptions, const std::string &log)
{
    Command traced = command;
    traced.argv = {"strace", "-f", "-o", settings.cache + "/out/" + log};
    traced.argv.insert(traced.argv.end(), straceOptions.begin(), straceOptions.end());
    traced.argv.push_back("--");
    traced.argv.insert(traced.argv.end(), command.argv.begin(), command.argv.end());
    return traced;
}

// Reads the summary of "strace -c": one row per call, the count in the
// fourth column and the name in the last.
void readSummary(const std::string &path, Syscalls &syscalls)
{
    std::ifstream summary(path);
    for (std::string line; std::getline(summary, line);) {
        std::istringstream row(line);
        std::vector<std::string> columns;
        for (std::string column; row >> column;)
            columns.push_back(column);
        if (columns.size() < 5 || columns.back() == "total" || columns[0] == "%" ||
            columns[0].find_first_not_of("0123456789.") != std::string::npos)
            continue;
        syscalls.calls[columns.back()] = std::stoull(columns[3]);
    }
}

// Reads the result of every write() in a trace: "... write(3, ..., 4096) = 4096".
void readWrites(const std::string &path, Syscalls &syscalls)
{
    std::ifstream trace(path);
    for (std::string line; std::getline(trace, line);) {
        const std::size_t result = line.rfind(") = ");
        if (line.find("write(") == std::string::npos || result == std::string::npos)
            continue;
        const long long bytes = std::atoll(line.c_str() + result + 4);
        if (bytes > 0)
            syscalls.writeSizes.push_back(double(bytes));
    }
}

Syscalls trace(const Settings &settings, const Command &command, const std::string &name)
{
    Syscalls syscalls;
    (void)runCommand(underStrace(settings, command, {"-c"}, name + ".strace-c"));
    readSummary(settings.cache + "/out/" + name + ".strace-c", syscalls);
    (void)runCommand(underStrace(settings, command, {"-e", "trace=write"}, name + ".writes"));
    readWrites(settings.cache + "/out/" + name + ".writes", syscalls);
    return syscalls;
}

std::string ratio(std::uint64_t part, std::uint64_t whole)
{
    return whole ? fixed(double(part) / double(whole), 3) : "-";
}

} // namespace

bool reportSyscalls(const Settings &settings, const BenchFolder &folder)
{
    const std::vector<std::pair<std::string, Command>> commands = {
        {"tunefold-list", listCommand(settings, folder)},
        {"find", findCommand(settings, folder)},
        {"tree", treeCommand(settings, folder)}};
    std::vector<Syscalls> traced;
    for (const auto &[name, command] : commands)
        traced.push_back(trace(settings, command, name));

    const std::uint64_t others = folder.entries - folder.matches;
    std::printf("### System calls (strace -c -f), %s entries, %s matching\n\n",
                grouped(folder.entries).c_str(), grouped(folder.matches).c_str());
    std::printf("| | tunefold-list | find | tree |\n|:--|--:|--:|--:|\n");
    const auto row = [&](const char *label, auto value) {
        std::printf("| %s |", label);
        for (const Syscalls &syscalls : traced)
            std::printf(" %s |", value(syscalls).c_str());
        std::printf("\n");
    };
    row("stat calls (statx, newfstatat, fstat, ...)",
        [](const Syscalls &s) { return grouped(s.stats()); });
    row("stat calls per matching entry",
        [&](const Syscalls &s) { return ratio(s.stats(), folder.matches); });
    row("stat calls beyond one per match, per non-matching entry", [&](const Syscalls &s) {
        return ratio(s.stats() > folder.matches ? s.stats() - folder.matches : 0, others);
    });
    row("getdents64 calls", [](const Syscalls &s) { return grouped(s.count("getdents64")); });
    row("entries per getdents64 call", [&](const Syscalls &s) {
        return grouped(s.count("getdents64") ? folder.entries / s.count("getdents64") : 0);
    });
    row("write calls", [](const Syscalls &s) { return grouped(s.writeSizes.size()); });
    row("bytes per write (median)",
        [](const Syscalls &s) { return grouped(std::uint64_t(median(s.writeSizes))); });
    row("all system calls per entry",
        [&](const Syscalls &s) { return ratio(s.total(), folder.entries); });

    const Syscalls &list = traced[0];
    const bool oneStatPerMatch =
        list.stats() >= folder.matches && list.stats() <= folder.matches + 100;
    const bool largeReads = list.count("getdents64") * 256 <= folder.entries;
    const bool largeWrites = median(list.writeSizes) >= 64 * 1024;
    std::printf("\nGoals for tunefold-list: one stat per match and none for the rest %s; "
                "directory read in batches of 256 entries or more %s; writes of 64 KiB or more "
                "%s.\n\n",
                verdict(oneStatPerMatch).c_str(), verdict(largeReads).c_str(),
                verdict(largeWrites).c_str());
    std::fflush(stdout);
    return oneStatPerMatch && largeReads && largeWrites;
}

} // namespace tunefold::bench
