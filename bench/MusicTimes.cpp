// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicFolders.h"
#include "Parts.h"

#include "platform/TagLibTrackReader.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace tunefold::bench {

namespace {

std::string outPath(const Settings &settings, const char *name)
{
    return settings.cache + "/out/" + name;
}

struct Contender
{
    const char *name;
    Command command;
    std::string output;
    std::vector<double> wall, cpu;
};

Command toFile(std::vector<std::string> argv, const std::string &output)
{
    Command command(std::move(argv));
    command.stdoutPath = output;
    return command;
}

// As timedRun() in the wall-time part: a fresh output, every dirty page
// written out before the clock starts.
Finished timedRun(const Command &command, const std::string &output,
                  std::vector<int> accepted = {0})
{
    unlink(output.c_str());
    sync();
    return runCommand(command, std::move(accepted));
}

// The commands take turns, after one untimed run of each.
void alternate(std::vector<Contender> &contenders, int runs)
{
    for (int run = -1; run < runs; ++run) {
        for (Contender &contender : contenders) {
            const Finished finished = timedRun(contender.command, contender.output);
            if (run >= 0) {
                contender.wall.push_back(finished.seconds);
                contender.cpu.push_back(finished.cpuSeconds);
            }
        }
    }
}

std::string cell(const Contender &contender)
{
    return fixed(median(contender.wall) * 1000, 0) + " ms (" +
           fixed(median(contender.cpu) * 1000, 0) + ")";
}

bool dropCaches()
{
    sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
    const bool dropped = fd >= 0 && ::write(fd, "3\n", 2) == 2;
    if (fd >= 0)
        ::close(fd);
    return dropped;
}

std::vector<std::string> fileNames(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = opendir(folder.c_str())) {
        while (const dirent *entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        }
        closedir(dir);
    }
    return names;
}

// What a pool of readers could gain with a cold cache: the files' tags read
// by the list's own reader in `threads` threads, each taking the next file
// in turn. Returns seconds, the names read beforehand with a warm directory.
double coldPoolSeconds(const std::string &folder, const std::vector<std::string> &names,
                       unsigned threads)
{
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!dropCaches() || folderFd < 0) {
        if (folderFd >= 0)
            ::close(folderFd);
        return -1;
    }
    std::atomic<std::size_t> next{0};
    const double start = monotonicSeconds();
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            TagLibTrackReader reader;
            TrackInfo info;
            for (std::size_t i = next++; i < names.size(); i = next++)
                reader.read(folderFd, names[i].c_str(), info);
        });
    }
    for (std::thread &thread : pool)
        thread.join();
    const double seconds = monotonicSeconds() - start;
    ::close(folderFd);
    return seconds;
}

} // namespace

bool reportTags(const Settings &settings, const BenchFolder &tagged)
{
    const std::string list = settings.binDir + "/tunefold-list";
    std::vector<Contender> contenders = {
        {"tunefold-list --format page",
         Command({list, "--format", "page", tagged.path, outPath(settings, "page.html")}),
         outPath(settings, "page.html"),
         {},
         {}},
        {"exiftool -csv",
         toFile({"exiftool", "-csv", "-q", tagged.path}, outPath(settings, "exif.csv")),
         outPath(settings, "exif.csv"),
         {},
         {}},
        {"mediainfo",
         toFile({"mediainfo", tagged.path}, outPath(settings, "mediainfo.txt")),
         outPath(settings, "mediainfo.txt"),
         {},
         {}}};
    // exiftool takes half a minute a run: fewer runs than the other parts.
    const int runs = std::max(3, settings.runs / 3);
    alternate(contenders, runs);
    const double page = median(contenders[0].wall);
    const double exifRatio = median(contenders[1].wall) / page;
    const double mediaRatio = median(contenders[2].wall) / page;
    const bool met = page < 1.0 && exifRatio >= 10 && mediaRatio > 1;
    std::printf("### Tags of %s MP3 files, warm cache (median of %d alternating runs; CPU ms "
                "in brackets)\n\n",
                grouped(tagged.entries).c_str(), runs);
    std::printf("| command | wall time | x tunefold-list |\n|:--|--:|--:|\n");
    for (const Contender &contender : contenders)
        std::printf("| %s | %s | %s |\n", contender.name, cell(contender).c_str(),
                    fixed(median(contender.wall) / page, 1).c_str());
    std::printf("\nGoals: page under 1 s: %s; exiftool at least 10 x slower (%s x): %s; "
                "mediainfo slower (%s x): %s\n\n",
                verdict(page < 1.0).c_str(), fixed(exifRatio, 1).c_str(),
                verdict(exifRatio >= 10).c_str(), fixed(mediaRatio, 1).c_str(),
                verdict(mediaRatio > 1).c_str());
    std::fflush(stdout);

    // Cold cache: the list itself, then the same reads spread over threads.
    if (!dropCaches()) {
        std::printf("Cold cache not measured: dropping the caches needs root.\n\n");
        return met;
    }
    std::vector<double> cold;
    for (int run = 0; run < 3; ++run) {
        unlink(contenders[0].output.c_str());
        dropCaches();
        cold.push_back(runCommand(contenders[0].command).seconds);
    }
    const std::vector<std::string> names = fileNames(tagged.path);
    std::printf("### The same, cold cache (caches dropped before each run, median of 3)\n\n");
    std::printf("| reading tags | wall time |\n|:--|--:|\n");
    std::printf("| tunefold-list --format page | %s ms |\n", fixed(median(cold) * 1000, 0).c_str());
    for (const unsigned threads : {1u, 2u, 4u, 8u}) {
        std::vector<double> seconds;
        for (int run = 0; run < 3; ++run)
            seconds.push_back(coldPoolSeconds(tagged.path, names, threads));
        std::printf("| TagLib reader alone, %u thread%s | %s ms |\n", threads,
                    threads == 1 ? "" : "s", fixed(median(seconds) * 1000, 0).c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
    return met;
}

bool reportNested(const Settings &settings, const BenchFolder &small, const BenchFolder &nested)
{
    const std::string list = settings.binDir + "/tunefold-list";
    const auto listCommand = [&](const BenchFolder &folder) {
        return Command({list, "--recursive", "--format", "fragment", folder.path,
                        outPath(settings, "nested.html")});
    };
    std::vector<Contender> contenders = {
        {"tunefold-list -r", listCommand(nested), outPath(settings, "nested.html"), {}, {}},
        {"find",
         toFile({"find", nested.path, "-iname", "*.mp3", "-printf", "%P %s\n"},
                outPath(settings, "nested-find.txt")),
         outPath(settings, "nested-find.txt"),
         {},
         {}}};
    alternate(contenders, settings.runs);
    const double ratio = median(contenders[0].wall) / median(contenders[1].wall);
    std::vector<double> smallKiB, largeKiB;
    for (int run = 0; run < settings.runs; ++run) {
        smallKiB.push_back(double(timedRun(listCommand(small), contenders[0].output).peakRssKiB));
        largeKiB.push_back(double(timedRun(listCommand(nested), contenders[0].output).peakRssKiB));
    }
    const double growth = median(largeKiB) - median(smallKiB);
    const bool met = ratio <= 1.1 && growth <= 1024;
    std::printf("### Nested folders, --recursive --format fragment (median of %d alternating "
                "runs; CPU ms in brackets)\n\n",
                settings.runs);
    std::printf("| entries | folders | tunefold-list -r | find -iname '*.mp3' -printf '%%P %%s\\n' "
                "| list / find (goal <= 1.1) |\n|--:|--:|--:|--:|:--|\n");
    std::printf("| %s | %s | %s | %s | %s %s (CPU %s) |\n\n", grouped(nested.entries).c_str(),
                grouped(nested.entries / 100 + nested.entries / 10000).c_str(),
                cell(contenders[0]).c_str(), cell(contenders[1]).c_str(), fixed(ratio, 2).c_str(),
                verdict(ratio <= 1.1).c_str(),
                fixed(median(contenders[0].cpu) / median(contenders[1].cpu), 2).c_str());
    std::printf("| entries | peak RSS of tunefold-list -r |\n|--:|--:|\n");
    std::printf("| %s | %s KiB |\n| %s | %s KiB |\n", grouped(small.entries).c_str(),
                grouped(std::uint64_t(median(smallKiB))).c_str(), grouped(nested.entries).c_str(),
                grouped(std::uint64_t(median(largeKiB))).c_str());
    std::printf("| growth (goal <= 1,024 KiB) | %s%s KiB %s |\n\n", growth < 0 ? "-" : "+",
                grouped(std::uint64_t(growth < 0 ? -growth : growth)).c_str(),
                verdict(growth <= 1024).c_str());
    std::fflush(stdout);
    return met;
}

} // namespace tunefold::bench
