// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchFolders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tunefold::bench {

namespace {

// Bumped whenever the names or sizes change, so an old cache is not reused.
constexpr char Layout[] = "tunefold-bench folder layout 1\n";

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

bool isMatch(std::uint64_t index)
{
    return index % 10 != 9;
}

// The same pseudo-random sizes on every machine.
std::uint64_t sizeOf(std::uint64_t index)
{
    std::uint64_t x = index * 0x9E3779B97F4A7C15ull + 1;
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    return x % (12u << 20);
}

// Names of the length real music files have: a number that keeps them
// apart, an artist and a title.
std::string nameOf(std::uint64_t index)
{
    char name[96];
    if (isMatch(index)) {
        const char *extension = index % 50 == 0 ? "MP3" : "mp3";
        std::snprintf(name, sizeof name, "%07llu Some Artist - A Song Title.%s",
                      static_cast<unsigned long long>(index), extension);
    } else {
        const char *extension = index % 20 == 9 ? "jpg" : "txt";
        std::snprintf(name, sizeof name, "%07llu cover or notes.%s",
                      static_cast<unsigned long long>(index), extension);
    }
    return name;
}

} // namespace

bool isComplete(const std::string &marker, std::string_view layout)
{
    std::FILE *file = std::fopen(marker.c_str(), "r");
    if (!file)
        return false;
    std::string text(layout.size() + 1, '\0');
    const std::size_t read = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    return read == layout.size() && text.compare(0, read, layout) == 0;
}

void markComplete(const std::string &marker, std::string_view layout)
{
    std::FILE *file = std::fopen(marker.c_str(), "w");
    if (!file || std::fwrite(layout.data(), 1, layout.size(), file) != layout.size() ||
        std::fclose(file) != 0)
        fail("cannot write " + marker);
}

void makeFolder(const std::string &path)
{
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
        fail("cannot create " + path);
}

BenchFolder benchFolder(const std::string &cache, std::uint64_t count)
{
    BenchFolder folder;
    folder.path = cache + "/entries-" + std::to_string(count);
    folder.entries = count;
    for (std::uint64_t i = 0; i < count; ++i)
        folder.matches += isMatch(i) ? 1 : 0;

    const std::string marker = folder.path + ".complete";
    if (isComplete(marker, Layout))
        return folder;

    makeFolder(cache);
    makeFolder(folder.path);
    std::fprintf(stderr, "creating %llu entries in %s (once)...\n",
                 static_cast<unsigned long long>(count), folder.path.c_str());
    const int dirFd = open(folder.path.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd < 0)
        fail("cannot open " + folder.path);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::string name = nameOf(i);
        const int fd = openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(sizeOf(i))) != 0)
            fail("cannot create " + folder.path + "/" + name);
        close(fd);
    }
    close(dirFd);

    markComplete(marker, Layout);
    return folder;
}

} // namespace tunefold::bench
