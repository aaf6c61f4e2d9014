// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicFolders.h"
#include "Parts.h"

#include <cstdio>

namespace tunefold::bench {

namespace {

std::string outPath(const Settings &settings, const char *name)
{
    return settings.cache + "/out/" + name;
}

// The medians of tunefold-list and find over the same folder.
struct Race
{
    double listWall = 0, listCpu = 0, findWall = 0, findCpu = 0;
};

// One untimed run of each fills the caches; then the two take turns, so a
// slow spell of the machine hits both alike.
Race race(const Settings &settings, const Command &list, const Command &find)
{
    std::vector<double> listWall, listCpu, findWall, findCpu;
    for (int run = -1; run < settings.runs; ++run) {
        const Finished l = runFresh(list, list.argv.back());
        const Finished f = runFresh(find, find.stdoutPath);
        if (run < 0)
            continue;
        listWall.push_back(l.seconds);
        listCpu.push_back(l.cpuSeconds);
        findWall.push_back(f.seconds);
        findCpu.push_back(f.cpuSeconds);
    }
    return {median(listWall), median(listCpu), median(findWall), median(findCpu)};
}

std::string ms(double wall, double cpu)
{
    return grouped(std::uint64_t(wall * 1000 + 0.5)) + " ms (" +
           grouped(std::uint64_t(cpu * 1000 + 0.5)) + ")";
}

// Prints the row and returns whether the list took at most goal times find.
bool printRace(const char *what, const BenchFolder &folder, const Race &race, double goal)
{
    const double ratio = race.listWall / race.findWall;
    std::printf("| %s | %s | %s | %s | %s | %s (<= %s) %s (CPU %s) |\n", what,
                grouped(folder.entries).c_str(), grouped(folder.matches).c_str(),
                ms(race.listWall, race.listCpu).c_str(), ms(race.findWall, race.findCpu).c_str(),
                fixed(ratio, 2).c_str(), fixed(goal, 2).c_str(), verdict(ratio <= goal).c_str(),
                fixed(race.listCpu / race.findCpu, 2).c_str());
    return ratio <= goal;
}

// The median peak memory of each command, the commands taking turns.
std::vector<double> peaks(const Settings &settings, const std::vector<Command> &commands)
{
    std::vector<std::vector<double>> kiB(commands.size());
    for (int run = 0; run < settings.runs; ++run) {
        for (std::size_t i = 0; i < commands.size(); ++i)
            kiB[i].push_back(double(runFresh(commands[i], commands[i].argv.back()).peakRssKiB));
    }
    std::vector<double> medians;
    for (const std::vector<double> &values : kiB)
        medians.push_back(median(values));
    return medians;
}

// Prints a memory row of three columns and returns whether it grew by at
// most 1 MiB from the smallest folder to the largest.
bool printPeaks(const char *what, const std::vector<double> &kiB)
{
    const double growth = kiB.back() - kiB.front();
    std::printf("| %s |", what);
    for (const double value : kiB)
        std::printf(" %s KiB |", grouped(std::uint64_t(value)).c_str());
    for (std::size_t empty = kiB.size(); empty < 3; ++empty)
        std::printf(" |");
    std::printf(" %s%s KiB %s |\n", growth < 0 ? "-" : "+",
                grouped(std::uint64_t(growth < 0 ? -growth : growth)).c_str(),
                verdict(growth <= 1024).c_str());
    return growth <= 1024;
}

} // namespace

bool reportBigFolders(const Settings &settings)
{
    const BenchFolder flat[] = {benchFolder(settings.cache, 100'000),
                                benchFolder(settings.cache, 200'000),
                                benchFolder(settings.cache, 300'000)};
    // 2,000 album folders under 20 artist folders, 100 entries each.
    const BenchFolder nested[] = {nestedFolder(settings.cache, 1'000, 100),
                                  nestedFolder(settings.cache, 2'000, 100)};
    const std::string list = settings.binDir + "/tunefold-list";
    const auto recursive = [&](const BenchFolder &folder) {
        return Command({list, "-r", folder.path, outPath(settings, "big-r.html")});
    };
    Command findAll({"find", nested[1].path, "-iname", "*.mp3", "-printf", "%P %s\n"});
    findAll.stdoutPath = outPath(settings, "big-r-find.txt");

    std::printf("### Big folders, default fragment (median of %d alternating runs; CPU ms in "
                "brackets)\n\n",
                settings.runs);
    std::printf("| folder | entries | matching | tunefold-list | find -printf '%%f %%s\\n' "
                "(`%%P` with `-r`) | list / find (goal) |\n|:--|--:|--:|--:|--:|:--|\n");
    bool met = printRace(
        "one folder", flat[2],
        race(settings, listCommand(settings, flat[2]), findCommand(settings, flat[2])), 0.75);
    met = printRace("2,020 folders, `-r`", nested[1], race(settings, recursive(nested[1]), findAll),
                    1.1) &&
          met;
    std::fflush(stdout);

    std::printf("\n| peak RSS (median of %d) | 100,000 entries | 200,000 | 300,000 | growth (goal "
                "<= 1,024 KiB) |\n|:--|--:|--:|--:|:--|\n",
                settings.runs);
    met =
        printPeaks("tunefold-list FOLDER OUT",
                   peaks(settings, {listCommand(settings, flat[0]), listCommand(settings, flat[1]),
                                    listCommand(settings, flat[2])})) &&
        met;
    met = printPeaks("tunefold-list -r, 100 entries a folder",
                     peaks(settings, {recursive(nested[0]), recursive(nested[1])})) &&
          met;
    std::printf("\n");
    std::fflush(stdout);
    return met;
}

} // namespace tunefold::bench
