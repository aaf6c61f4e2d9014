// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace tunefold::bench {

namespace {

constexpr char Layout[] = "tunefold-bench format mix 1\n";

// One template a format, each a few seconds of tone from the Debian
// encoders the tests use; an MP3 without a Xing frame whose frames are
// counted among them.
struct Template
{
    const char *name;
    std::vector<std::string> encode; // "IN" and "OUT" stand for the paths
};

const std::vector<Template> &templates()
{
    static const std::vector<Template> all{
        {"cbr.mp3", {"lame", "--silent", "-b", "192", "IN", "OUT"}},
        {"vbr.mp3", {"lame", "--silent", "-V", "2", "IN", "OUT"}},
        {"noxing.mp3", {"lame", "--silent", "-V", "2", "-t", "IN", "OUT"}},
        {"t.flac", {"flac", "-s", "-f", "IN", "-o", "OUT"}},
        {"t.ogg", {"oggenc", "-Q", "IN", "-o", "OUT"}},
        {"t.opus", {"opusenc", "--quiet", "IN", "OUT"}},
        {"t.m4a", {"ffmpeg", "-v", "error", "-y", "-i", "IN", "-c:a", "aac", "OUT"}},
    };
    return all;
}

void run(std::vector<std::string> argv)
{
    (void)runCommand(Command(std::move(argv))); // throws when an encoder fails
}

BenchFolder formatMixFolder(const std::string &cache, std::uint64_t count)
{
    BenchFolder folder{cache + "/mix-" + std::to_string(count), count, count};
    const std::string marker = folder.path + ".complete";
    if (isComplete(marker, Layout))
        return folder;
    std::fprintf(stderr, "encoding and tagging %llu files of %zu formats (once)...\n",
                 static_cast<unsigned long long>(count), templates().size());
    makeFolder(folder.path);
    const std::string wav = cache + "/mix-tone.wav";
    run({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=4", "-ac",
         "2", wav});
    for (const Template &t : templates()) {
        std::vector<std::string> argv = t.encode;
        for (std::string &argument : argv)
            argument = argument == "IN"    ? wav
                       : argument == "OUT" ? cache + "/mix-" + t.name
                                           : argument;
        run(argv);
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const Template &t = templates()[i % templates().size()];
        const std::string path = folder.path + "/" + std::to_string(i) + " " + t.name;
        std::filesystem::copy_file(cache + "/mix-" + t.name, path,
                                   std::filesystem::copy_options::overwrite_existing);
        TagLib::FileRef file(path.c_str(), false);
        if (!file.tag())
            throw std::runtime_error("cannot tag " + path);
        file.tag()->setTitle("A Song Title Number " + TagLib::String::number(int(i)));
        file.tag()->setArtist("Some Artist " + TagLib::String::number(int(i % 97)));
        file.tag()->setAlbum("An Album Name " + TagLib::String::number(int(i % 641)));
        file.tag()->setYear(unsigned(1960 + i % 60));
        file.tag()->setGenre("Jazz");
        file.tag()->setTrack(unsigned(i % 14 + 1));
        if (!file.save())
            throw std::runtime_error("cannot tag " + path);
    }
    markComplete(marker, Layout);
    return folder;
}

// The least reading tags can cost: every file opened, its first and last
// 64 KiB read, closed, one file after the other.
double ioFloorSeconds(const std::string &folder)
{
    const double start = monotonicSeconds();
    std::vector<char> buffer(64 * 1024);
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = fdopendir(::dup(folderFd));
    while (const dirent *entry = dir ? readdir(dir) : nullptr) {
        const int fd = openat(folderFd, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const off_t end = lseek(fd, 0, SEEK_END);
        (void)!pread(fd, buffer.data(), buffer.size(), 0);
        (void)!pread(fd, buffer.data(), buffer.size(), std::max<off_t>(0, end - 65536));
        ::close(fd);
    }
    if (dir)
        closedir(dir);
    ::close(folderFd);
    return monotonicSeconds() - start;
}

double timed(const Command &command, std::vector<double> &cpu)
{
    const Finished finished = runCommand(command);
    cpu.push_back(finished.cpuSeconds);
    return finished.seconds;
}

double timed(std::vector<std::string> argv, std::vector<double> &cpu)
{
    return timed(Command(std::move(argv)), cpu);
}

} // namespace

bool reportFormatMix(const Settings &settings)
{
    const BenchFolder mix = formatMixFolder(settings.cache, 10'000);
    const std::string list = settings.binDir + "/tunefold-list";
    const std::string out = settings.cache + "/out/mix";
    std::vector<double> listWall, listCpu, floorWall, fragmentWall, fragmentCpu, findWall, findCpu;
    std::vector<std::string> find{"find", mix.path, "-maxdepth", "1", "("};
    bool first = true;
    for (const std::string_view suffix :
         {"mp3", "flac", "ogg", "oga", "opus", "spx", "m4a", "m4b", "mp4", "wav", "aif", "aiff",
          "wma", "asf", "ape", "mpc", "wv", "tta"}) {
        if (!first)
            find.push_back("-o");
        first = false;
        find.insert(find.end(), {"-iname", "*." + std::string(suffix)});
    }
    // Sizes printed to a file, as the list does: the same stat and write per
    // match, so the comparison is of the work, not of what is left out.
    find.insert(find.end(), {")", "-printf", "%f %s\n"});
    // Warm: one untimed round, then the contenders take turns.
    for (int round = -1; round < 5; ++round) {
        const double l = timed({list, "--audio", "--format", "json", mix.path, out}, listCpu);
        const double f = ioFloorSeconds(mix.path);
        const double g = timed({list, "--audio", mix.path, out}, fragmentCpu);
        Command findToFile(find);
        findToFile.stdoutPath = out + ".find";
        const double h = timed(findToFile, findCpu);
        if (round >= 0) {
            listWall.push_back(l);
            floorWall.push_back(f);
            fragmentWall.push_back(g);
            findWall.push_back(h);
        }
    }
    // ffprobe starts once a file: 200 of them, scaled to the whole folder.
    const double probeStart = monotonicSeconds();
    for (int i = 0; i < 200; ++i) {
        std::vector<double> ignored;
        timed({"ffprobe", "-v", "error", "-show_entries", "format=duration,bit_rate:format_tags",
               mix.path + "/" + std::to_string(i * 50) + " " + templates()[i * 50 % 7].name},
              ignored);
    }
    const double probe = (monotonicSeconds() - probeStart) * 50;
    std::vector<double> exifCpu;
    const double exif = access("/usr/bin/exiftool", X_OK) == 0
                            ? timed({"exiftool", "-csv", "-q", mix.path}, exifCpu)
                            : -1;

    const double l = median(listWall), f = median(floorWall);
    const double g = median(fragmentWall), h = median(findWall);
    std::printf("\n### 10,000 tagged files, seven formats, warm cache\n\n"
                "| command | wall | against the floor |\n| --- | --- | --- |\n");
    std::printf("| tunefold-list --audio --format json | %s ms | %s x |\n",
                fixed(l * 1000, 0).c_str(), fixed(l / f, 2).c_str());
    std::printf("| I/O floor: open, first and last 64 KiB, close | %s ms | 1 x |\n",
                fixed(f * 1000, 0).c_str());
    std::printf("| ffprobe, one a file (200 timed, scaled) | %s ms | %s x |\n",
                fixed(probe * 1000, 0).c_str(), fixed(probe / f, 1).c_str());
    if (exif >= 0)
        std::printf("| exiftool -csv | %s ms | %s x |\n", fixed(exif * 1000, 0).c_str(),
                    fixed(exif / f, 1).c_str());
    std::printf("| tunefold-list --audio (fragment) | %s ms | find: %s x |\n",
                fixed(g * 1000, 0).c_str(), fixed(g / h, 2).c_str());
    std::printf("| find -iname, the same suffixes, -printf '%%f %%s' to a file | %s ms | |\n",
                fixed(h * 1000, 0).c_str());
    const bool met = l <= 1.5 * f && g <= 0.7 * h;
    std::printf("\nGoals: within 1.5 x of the floor (%s x), fragment within 0.7 x of find "
                "(%s x): %s\n",
                fixed(l / f, 2).c_str(), fixed(g / h, 2).c_str(), met ? "met" : "NOT met");
    return met;
}

} // namespace tunefold::bench
