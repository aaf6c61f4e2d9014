// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include <cstdio>
#include <unistd.h>

namespace tunefold::bench {

namespace {

std::string outPath(const Settings &settings, const char *name)
{
    return settings.cache + "/out/" + name;
}

struct Contender
{
    Command command;
    std::string output;
    std::vector<double> wall, cpu;
};

std::string cell(const Contender &contender)
{
    return fixed(median(contender.wall) * 1000, 1) + " ms (" +
           fixed(median(contender.cpu) * 1000, 0) + ")";
}

} // namespace

// Each timed run writes a new file: the old output is removed and every
// dirty page is written out before the clock starts. Otherwise a run would
// pay for deleting its predecessor's output and for writing back the pages
// that the runs before it left, costs that grow with the size of the output
// (the list is eight times larger than find's) rather than with the work.
Finished runFresh(const Command &command, const std::string &output)
{
    unlink(output.c_str());
    sync();
    return runCommand(command);
}

Command listCommand(const Settings &settings, const BenchFolder &folder)
{
    return {{settings.binDir + "/tunefold-list", folder.path, outPath(settings, "list.html")}};
}

Command findCommand(const Settings &settings, const BenchFolder &folder)
{
    Command command{
        {"find", folder.path, "-maxdepth", "1", "-iname", "*.mp3", "-printf", "%f %s\n"}};
    command.stdoutPath = outPath(settings, "find.txt");
    return command;
}

Command treeCommand(const Settings &settings, const BenchFolder &folder)
{
    return {{"tree", "-H", ".", "-P", "*.mp3", "--ignore-case", "-s", "-n", "-o",
             outPath(settings, "tree.html"), folder.path}};
}

Command floorCommand(const Settings &settings, const BenchFolder &folder)
{
    return {
        {settings.binDir + "/tunefold-bench-floor", folder.path, outPath(settings, "floor.html")}};
}

bool reportWallTimes(const Settings &settings, const std::vector<BenchFolder> &folders)
{
    std::printf("### Wall time, warm cache (median of %d alternating runs; CPU ms in "
                "brackets)\n\n",
                settings.runs);
    std::printf("| entries | matching | tunefold-list | find | tree | C floor | list / find "
                "(goal <= 0.75) | tree / list (goal >= 1.8) |\n");
    std::printf("|--:|--:|--:|--:|--:|--:|:--|:--|\n");
    bool met = true;
    for (const BenchFolder &folder : folders) {
        std::vector<Contender> contenders = {
            {listCommand(settings, folder), outPath(settings, "list.html"), {}, {}},
            {findCommand(settings, folder), outPath(settings, "find.txt"), {}, {}},
            {treeCommand(settings, folder), outPath(settings, "tree.html"), {}, {}},
            {floorCommand(settings, folder), outPath(settings, "floor.html"), {}, {}}};
        // One untimed run of each fills the caches; then the commands take
        // turns, so a slow spell of the machine hits them all alike.
        for (int run = -1; run < settings.runs; ++run) {
            for (Contender &contender : contenders) {
                const Finished finished = runFresh(contender.command, contender.output);
                if (run >= 0) {
                    contender.wall.push_back(finished.seconds);
                    contender.cpu.push_back(finished.cpuSeconds);
                }
            }
        }
        const Contender &list = contenders[0], &find = contenders[1], &tree = contenders[2];
        const double listFind = median(list.wall) / median(find.wall);
        const double treeList = median(tree.wall) / median(list.wall);
        met = met && listFind <= 0.75 && treeList >= 1.8;
        std::printf("| %s | %s | %s | %s | %s | %s | %s %s (CPU %s) | %s %s (CPU %s) |\n",
                    grouped(folder.entries).c_str(), grouped(folder.matches).c_str(),
                    cell(list).c_str(), cell(find).c_str(), cell(tree).c_str(),
                    cell(contenders[3]).c_str(), fixed(listFind, 2).c_str(),
                    verdict(listFind <= 0.75).c_str(),
                    fixed(median(list.cpu) / median(find.cpu), 2).c_str(),
                    fixed(treeList, 2).c_str(), verdict(treeList >= 1.8).c_str(),
                    fixed(median(tree.cpu) / median(list.cpu), 2).c_str());
        std::fflush(stdout);
    }
    std::printf("\n");
    return met;
}

bool reportMemory(const Settings &settings, const BenchFolder &small, const BenchFolder &large)
{
    const std::string output = outPath(settings, "list.html");
    std::vector<double> smallKiB, largeKiB;
    for (int run = 0; run < settings.runs; ++run) {
        smallKiB.push_back(double(runFresh(listCommand(settings, small), output).peakRssKiB));
        largeKiB.push_back(double(runFresh(listCommand(settings, large), output).peakRssKiB));
    }
    const double growth = median(largeKiB) - median(smallKiB);
    const bool met = growth <= 1024;
    std::printf("### Peak resident memory of tunefold-list (ru_maxrss, median of %d runs)\n\n",
                settings.runs);
    std::printf("| entries | peak RSS |\n|--:|--:|\n");
    std::printf("| %s | %s KiB |\n", grouped(small.entries).c_str(),
                grouped(std::uint64_t(median(smallKiB))).c_str());
    std::printf("| %s | %s KiB |\n", grouped(large.entries).c_str(),
                grouped(std::uint64_t(median(largeKiB))).c_str());
    std::printf("| growth (goal <= 1,024 KiB) | %s%s KiB %s |\n\n", growth < 0 ? "-" : "+",
                grouped(std::uint64_t(growth < 0 ? -growth : growth)).c_str(),
                verdict(met).c_str());
    std::fflush(stdout);
    return met;
}

} // namespace tunefold::bench
