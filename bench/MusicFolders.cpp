// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicFolders.h"

#include "doubles/Mp3Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tunefold::bench {

namespace {

// Bumped whenever the names, tags or sizes change, so an old cache is not reused.
constexpr char Layout[] = "tunefold-bench music layout 1\n";

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

std::string numbered(const char *format, std::uint64_t a, std::uint64_t b = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<unsigned long long>(a),
                  static_cast<unsigned long long>(b));
    return text;
}

} // namespace

BenchFolder taggedFolder(const std::string &cache, std::uint64_t count)
{
    BenchFolder folder{cache + "/tagged-" + std::to_string(count), count, count};
    const std::string marker = folder.path + ".complete";
    if (isComplete(marker, Layout))
        return folder;
    makeFolder(cache);
    makeFolder(folder.path);
    std::fprintf(stderr, "creating %llu tagged MP3 files in %s (once)...\n",
                 static_cast<unsigned long long>(count), folder.path.c_str());
    for (std::uint64_t i = 0; i < count; ++i) {
        test::Tags tags;
        tags.title = numbered("A Song Title Number %llu", i).c_str();
        tags.artist = numbered("Some Artist %llu", i % 97).c_str();
        tags.album = numbered("An Album Name %llu", i % 641).c_str();
        tags.track = unsigned(i % 14 + 1);
        const std::string path =
            folder.path + numbered("/%05llu Some Artist - A Song Title.mp3", i);
        // 2,297 to 13,782 frames: one to six minutes.
        if (!test::writeMp3(path.c_str(), &tags, 4, unsigned(2297 + i * 7919 % 11485)))
            fail("cannot write " + path);
    }
    markComplete(marker, Layout);
    return folder;
}

BenchFolder nestedFolder(const std::string &cache, std::uint64_t albums, std::uint64_t perAlbum)
{
    BenchFolder folder{cache + "/nested-" + std::to_string(albums * perAlbum), albums * perAlbum,
                       0};
    for (std::uint64_t i = 0; i < perAlbum; ++i)
        folder.matches += i % 10 != 9 ? albums : 0;
    const std::string marker = folder.path + ".complete";
    if (isComplete(marker, Layout))
        return folder;
    makeFolder(cache);
    makeFolder(folder.path);
    std::fprintf(stderr, "creating %llu entries in %llu folders in %s (once)...\n",
                 static_cast<unsigned long long>(folder.entries),
                 static_cast<unsigned long long>(albums), folder.path.c_str());
    for (std::uint64_t album = 0; album < albums; ++album) {
        const std::string artistPath = folder.path + numbered("/Artist %03llu", album / 100);
        makeFolder(artistPath);
        const std::string albumPath = artistPath + numbered("/Album %05llu", album);
        makeFolder(albumPath);
        for (std::uint64_t i = 0; i < perAlbum; ++i) {
            const std::string path =
                albumPath +
                (i % 10 != 9 ? numbered("/%02llu Some Artist - A Song Title %llu.mp3", i + 1, album)
                             : numbered("/cover or notes %llu-%llu.txt", i, album));
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            const off_t size = off_t((album * 7919 + i * 104729) % (12u << 20));
            if (fd < 0 || ftruncate(fd, size) != 0)
                fail("cannot create " + path);
            ::close(fd);
        }
    }
    markComplete(marker, Layout);
    return folder;
}

} // namespace tunefold::bench
