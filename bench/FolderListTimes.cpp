// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tunefold::bench {

namespace {

struct Opening
{
    std::string name; // of the sub-folder double-clicked
    std::uint64_t subFolders = 0;
    std::vector<double> filled, filledCpu, exited;
    std::vector<double> peakKiB;
    std::vector<double> listed, listedCpu; // ls -f of the same folder
};

// A folder of count empty sub-folders, made on the first call.
void makeSubFolders(const std::string &folder, std::uint64_t count)
{
    const std::string marker = folder + ".complete";
    if (access(marker.c_str(), F_OK) == 0)
        return;
    makeFolder(folder);
    for (std::uint64_t i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/%07llu An Artist - An Album",
                      static_cast<unsigned long long>(i));
        const std::string path = folder + name;
        if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            throw std::runtime_error("cannot make " + path);
    }
    std::ofstream(marker) << count << '\n';
}

void openOnce(const Settings &settings, const std::string &parent, Opening &opening, bool timed)
{
    const std::string report = settings.cache + "/out/folderlist.txt";
    Command command{{settings.binDir + "/tunefold-bench-folderlist", parent, opening.name}};
    command.environment = {"QT_QPA_PLATFORM=offscreen"};
    command.stdoutPath = report;
    command.stderrPath = settings.cache + "/out/folderlist.log";
    ChildProcess child(command);
    const Finished finished = child.wait();
    const double ended = monotonicSeconds();
    double filled = 0, filledCpu = 0, exitChosen = 0;
    long rows = 0;
    std::ifstream(report) >> filled >> filledCpu >> rows >> exitChosen;
    if (finished.status != 0 || rows <= 0)
        throw std::runtime_error("tunefold-bench-folderlist failed, see " + command.stderrPath);
    if (!timed)
        return;
    opening.filled.push_back(filled);
    opening.filledCpu.push_back(filledCpu);
    opening.exited.push_back(ended - exitChosen);
    opening.peakKiB.push_back(double(finished.peakRssKiB));

    // The reference: what reading the folder's names costs any program.
    const Finished listed = runCommand(Command{{"ls", "-f", parent + "/" + opening.name}});
    opening.listed.push_back(listed.seconds);
    opening.listedCpu.push_back(listed.cpuSeconds);
}

} // namespace

bool reportFolderList(const Settings &settings)
{
    std::printf("### The window's folder list (offscreen platform, median of %d alternating "
                "runs)\n\n",
                settings.runs);
    const std::string parent = settings.cache + "/subfolders";
    makeFolder(parent);
    std::vector<Opening> openings(2);
    openings[0].name = "small";
    openings[0].subFolders = 10;
    openings[1].name = "large";
    openings[1].subFolders = 100'000;
    for (const Opening &opening : openings)
        makeSubFolders(parent + "/" + opening.name, opening.subFolders);
    // The first round, untimed, fills the caches.
    for (int run = -1; run < settings.runs; ++run) {
        for (Opening &opening : openings)
            openOnce(settings, parent, opening, run >= 0);
    }

    const Opening &small = openings[0];
    const Opening &large = openings[1];
    const double filled = median(large.filled);
    const double growthMiB = (median(large.peakKiB) - median(small.peakKiB)) / 1024;
    const double exited = median(large.exited);
    const bool met = filled <= 0.3 && growthMiB < 30 && exited <= 0.2;
    std::printf("| double-click into a folder of | 10 sub-folders | 100,000 sub-folders | goal |\n"
                "|:--|--:|--:|:--|\n");
    std::printf("| until filled, painted and answering | %s s (CPU %s) | %s s (CPU %s) | "
                "<= 0.3 s: %s |\n",
                fixed(median(small.filled), 3).c_str(), fixed(median(small.filledCpu), 3).c_str(),
                fixed(filled, 3).c_str(), fixed(median(large.filledCpu), 3).c_str(),
                verdict(filled <= 0.3).c_str());
    std::printf("| reference: `ls -f` of the folder | %s s (CPU %s) | %s s (CPU %s) | |\n",
                fixed(median(small.listed), 3).c_str(), fixed(median(small.listedCpu), 3).c_str(),
                fixed(median(large.listed), 3).c_str(), fixed(median(large.listedCpu), 3).c_str());
    std::printf("| peak memory of the process | %s KiB | %s KiB | < 30 MiB more: %s MiB, %s |\n",
                grouped(std::uint64_t(median(small.peakKiB))).c_str(),
                grouped(std::uint64_t(median(large.peakKiB))).c_str(), fixed(growthMiB, 1).c_str(),
                verdict(growthMiB < 30).c_str());
    std::printf("| File > Exit until the process ended | %s s | %s s | <= 0.2 s: %s |\n\n",
                fixed(median(small.exited), 3).c_str(), fixed(exited, 3).c_str(),
                verdict(exited <= 0.2).c_str());
    std::fflush(stdout);
    return met;
}

} // namespace tunefold::bench
