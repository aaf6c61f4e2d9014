// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tunefold::bench {

namespace {

constexpr std::size_t StoreSize = 16 * 1024 * 1024; // the most the store reads

// Writes lines made by line(0), line(1), ... as long as they fit in
// StoreSize with end after them, unless the file is there already.
template <typename Line>
std::string storeFile(const Settings &settings, const char *name, Line line,
                      const std::string &end = {})
{
    const std::string path = settings.cache + "/" + name;
    if (std::ifstream(path).good())
        return path;
    // Line by line: holding the file here would count in the peak memory of
    // every program started after it (spawned programs start out sharing it).
    std::ofstream file(path + ".part", std::ios::binary);
    std::size_t size = 0;
    for (std::size_t index = 0;; ++index) {
        const std::string next = line(index);
        if (size + next.size() + end.size() > StoreSize)
            break;
        file << next;
        size += next.size();
    }
    file << end;
    file.close();
    if (!file || std::rename((path + ".part").c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot write " + path);
    return path;
}

// ASCII text in UTF-16LE.
std::string utf16(const std::string &ascii)
{
    std::string wide;
    for (const char c : ascii)
        wide += {c, '\0'};
    return wide;
}

struct Press
{
    double seconds = 0;
    double cpuSeconds = 0;
    double peakKiB = 0;  // above the resident size before the press
    double afterKiB = 0; // likewise, once the press is over
};

Press press(const Settings &settings, const std::string &store)
{
    Command command{{settings.binDir + "/tunefold-bench-store", store}};
    command.stdoutPath = settings.cache + "/out/store.txt";
    runCommand(command);
    std::ifstream output(command.stdoutPath);
    Press result;
    long baseline = 0;
    if (!(output >> result.seconds >> result.cpuSeconds >> baseline >> result.peakKiB >> result.afterKiB))
        throw std::runtime_error("tunefold-bench-store printed no figures");
    return result;
}

} // namespace

bool reportStore(const Settings &settings)
{
    const std::string tools = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools";
    struct Shape
    {
        const char *what;
        std::string path;
    };
    const Shape shapes[] = {
        {"a million one-line keys, `[1f]` and `@=\"\"`",
         storeFile(settings, "keybomb.reg",
                   [](std::size_t index) {
                       std::ostringstream line;
                       line << '[' << std::hex << index << "]\r\n@=\"\"\r\n";
                       return line.str();
                   })},
        {"sixteen values of 1 MiB in the first key looked up",
         storeFile(settings, "longvalues.reg",
                   [&tools](std::size_t index) {
                       if (index == 0)
                           return "REGEDIT4\r\n\r\n" + tools + "\\MSINFO]\r\n";
                       return "\"v" + std::to_string(index) + "\"=\"" +
                              std::string((1 << 20) - 100, 'x') + "\"\r\n";
                   })},
        {"one value of 8 million CJK characters, version 5 in UTF-16LE",
         storeFile(
             settings, "utf16value.reg",
             [&tools](std::size_t index) {
                 if (index == 0)
                     return "\xFF\xFE" + utf16("Windows Registry Editor Version 5.00\r\n\r\n" +
                                                tools + "\\MSINFO]\r\n\"v\"=\"");
                 std::string characters; // U+4E2D
                 for (int i = 0; i < 32 * 1024; ++i)
                     characters += "\x2D\x4E";
                 return characters;
             },
             utf16("\"\r\n"))}};

    // The last takes the most memory a file can: each character of the
    // value takes three bytes in UTF-8, and its line is held while read.
    std::printf("### One press of System Info... against a 16 MiB machine.reg (median of %d "
                "runs, CPU ms in brackets; grep reads the same file once)\n\n",
                settings.runs);
    std::printf("| machine.reg | press | peak memory above the baseline | after the press | "
                "`grep -c '^\\['` | goals (< 0.5 s, < 64 MiB, back to the baseline) |\n");
    std::printf("|:--|--:|--:|--:|--:|:--|\n");
    bool met = true;
    for (const Shape &shape : shapes) {
        const Command grep{{"grep", "-c", "^\\[", shape.path}};
        runCommand(grep, {0, 1}); // fills the cache
        std::vector<double> seconds, cpu, peak, after, grepSeconds, grepPeak;
        for (int run = 0; run < settings.runs; ++run) {
            const Press result = press(settings, shape.path);
            seconds.push_back(result.seconds);
            cpu.push_back(result.cpuSeconds);
            peak.push_back(result.peakKiB);
            after.push_back(result.afterKiB);
            const Finished reference = runCommand(grep, {0, 1});
            grepSeconds.push_back(reference.seconds);
            grepPeak.push_back(double(reference.peakRssKiB));
        }
        // Back to the baseline: what glibc keeps of its arenas, well under
        // a MiB, and nothing that grows with the file.
        const bool shapeMet =
            median(seconds) < 0.5 && median(peak) < 64 * 1024 && median(after) < 1024;
        met = met && shapeMet;
        std::printf("| %s | %s ms (%s) | %s KiB | %s KiB | %s ms (peak RSS %s KiB) | %s |\n",
                    shape.what, fixed(median(seconds) * 1000, 1).c_str(),
                    fixed(median(cpu) * 1000, 0).c_str(),
                    grouped(std::uint64_t(median(peak))).c_str(),
                    grouped(std::uint64_t(median(after))).c_str(),
                    fixed(median(grepSeconds) * 1000, 1).c_str(),
                    grouped(std::uint64_t(median(grepPeak))).c_str(), verdict(shapeMet).c_str());
        std::fflush(stdout);
    }
    std::printf("\n");
    return met;
}

} // namespace tunefold::bench
