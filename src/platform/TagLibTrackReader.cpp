// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TagLibTrackReader.h"

#include "platform/MpegFigures.h"
#include "platform/WindowStream.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tpropertymap.h>
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
int openRegularFile(int atFd, const char *path, long &length)
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
    length = long(after.st_size);
    return fd;
}

// "2", "2/3" or " 2 of 3": the number it starts with, 0 when none.
unsigned leadingNumber(const TagLib::String &text)
{
    const std::string digits = text.stripWhiteSpace().to8Bit(true);
    unsigned number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9' || number > 100000)
            break;
        number = number * 10 + unsigned(c - '0');
    }
    return number;
}

void readTags(const TagLib::Tag &tag, TrackInfo &info)
{
    info.title = tag.title().to8Bit(true);
    info.artist = tag.artist().to8Bit(true);
    info.album = tag.album().to8Bit(true);
    info.genre = tag.genre().to8Bit(true);
    info.track = tag.track();
    info.year = tag.year();
}

void readFigures(const TagLib::AudioProperties &audio, TrackInfo &info)
{
    // TagLib leaves a file whose stream it could not make sense of at 0 Hz.
    info.audio = audio.sampleRate() > 0;
    if (audio.lengthInMilliseconds() > 0)
        info.milliseconds = audio.lengthInMilliseconds();
    info.kilobitsPerSecond = std::max(audio.bitrate(), 0);
}

} // namespace

TagLibTrackReader::TagLibTrackReader() : m_window(16 * 1024)
{
    static QuietListener quiet;
    TagLib::setDebugListener(&quiet);
}

void TagLibTrackReader::read(int atFd, const char *path, TrackInfo &info)
{
    info.clear();
    long length = 0;
    const int fd = openRegularFile(atFd, path, length);
    if (fd < 0)
        return;
    {
        // TagLib picks the format-specific reader by the name's suffix and,
        // for a suffix it does not know or a file that is not what its name
        // says (Opus in a .ogg), by the content.
        WindowStream stream(fd, length, path, m_window);
        const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Average);
        // A tag over audio that is cut short or missing still names the track.
        if (const TagLib::Tag *tag = file.tag())
            readTags(*tag, info);
        if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file.file())) {
            info.disc = leadingNumber(mpegDiscText(*mpeg));
            readMpegFigures(*mpeg, info);
        } else if (file.file()) {
            info.disc = leadingNumber(file.file()->properties()["DISCNUMBER"].toString());
            if (const TagLib::AudioProperties *audio = file.audioProperties())
                readFigures(*audio, info);
        }
    }
    ::close(fd);
}

const std::vector<std::string_view> &audioSuffixes()
{
    // Every suffix TagLib 1.13 reads as music; .aac (raw ADTS), .dsf and .dff
    // are not among them, nor the tracker modules, which have no length.
    static const std::vector<std::string_view> suffixes{"mp3", "flac", "ogg", "oga", "opus", "spx",
                                                        "m4a", "m4b",  "mp4", "wav", "aif",  "aiff",
                                                        "wma", "asf",  "ape", "mpc", "wv",   "tta"};
    return suffixes;
}

} // namespace tunefold
