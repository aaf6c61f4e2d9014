// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TagLibTrackReader.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <taglib/audioproperties.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>
#include <taglib/tstring.h>

namespace tunefold {

namespace {

// A file that makes no sense is listed with empty cells; TagLib's complaints
// about it would only clutter standard error.
class QuietListener final : public TagLib::DebugListener
{
public:
    void printMessage(const TagLib::String &) override {}
};

// Opens path for reading only if it is a regular file. The type is looked up
// first, without opening (opening a device or a FIFO can block or have side
// effects), then checked again on the open file, in case the entry was
// swapped in between; O_NONBLOCK keeps that rare case from hanging on a FIFO.
int openRegularFile(int atFd, const char *path)
{
    struct stat before;
    if (fstatat(atFd, path, &before, 0) != 0 || !S_ISREG(before.st_mode))
        return -1;
    const int fd = openat(atFd, path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat after;
    if (fstat(fd, &after) != 0 || !S_ISREG(after.st_mode) || after.st_ino != before.st_ino ||
        after.st_dev != before.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TagLibTrackReader::TagLibTrackReader()
{
    static QuietListener quiet;
    TagLib::setDebugListener(&quiet);
}

void TagLibTrackReader::read(int atFd, const char *path, TrackInfo &info)
{
    info.clear();
    const int fd = openRegularFile(atFd, path);
    if (fd < 0)
        return;
    // The stream owns the descriptor from here and closes it.
    TagLib::FileStream stream(fd, true);
    if (!stream.isOpen()) {
        ::close(fd);
        return;
    }
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                            TagLib::AudioProperties::Average);
    // A tag over audio that is cut short or missing still names the track.
    if (const TagLib::Tag *tag = file.tag()) {
        info.title = tag->title().to8Bit(true);
        info.artist = tag->artist().to8Bit(true);
        info.album = tag->album().to8Bit(true);
        info.track = tag->track();
    }
    if (const TagLib::AudioProperties *audio = file.audioProperties()) {
        if (audio->lengthInMilliseconds() > 0)
            info.milliseconds = audio->lengthInMilliseconds();
        info.kilobitsPerSecond = std::max(audio->bitrate(), 0);
    }
}

} // namespace tunefold
