// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A file's bytes through the track reader, the project's own read stream
// under TagLib: no crash, no leak, no read past the end, numbers in range.
// Tag text may hold what TagLib makes of lone UTF-16 surrogates, which is not
// UTF-8; the writers take any bytes (fuzz_writers). The first byte picks the file's name among the
// formats listed, so a reader that goes by the name meets every one; the rest is the file.
#include "platform/TagLibTrackReader.h"

#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr std::array<const char *, 6> Names = {"x.mp3",  "x.flac", "x.ogg",
                                               "x.opus", "x.m4a",  "x.wav"};

std::string folder;
int folderFd = -1;

void removeFolder()
{
    for (const char *name : Names)
        (void)unlinkat(folderFd, name, 0);
    (void)rmdir(folder.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/fuzz_trackreader-XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    folder = pattern;
    folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char *name = Names[data[0] % Names.size()];
    const int fd = openat(folderFd, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || write(fd, data + 1, size - 1) != ssize_t(size - 1) || close(fd) != 0)
        std::abort();

    static tunefold::TagLibTrackReader reader;
    tunefold::TrackInfo info;
    reader.read(folderFd, name, info);
    if (info.milliseconds < -1 || info.kilobitsPerSecond < 0)
        std::abort();
    return 0;
}
