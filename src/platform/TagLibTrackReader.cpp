// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TagLibTrackReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <taglib/audioproperties.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tiostream.h>
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

// TagLib's own FileStream goes through stdio and asks the system for every
// seek, position and length: about 25 calls a file, most of a page's time.
// This one takes the length from fstat and serves reads from one window of
// the file read with pread, so a small file costs one read and a large one
// about three (the tag, the first frame, the end).
class WindowStream final : public TagLib::IOStream
{
public:
    WindowStream(int fd, long length, std::vector<char> &window)
        : m_fd(fd), m_length(length), m_window(window)
    {
    }

    TagLib::FileName name() const override { return ""; }
    TagLib::ByteVector readBlock(unsigned long length) override
    {
        if (m_position >= m_length || length == 0)
            return {};
        const long wanted = std::min(long(length), m_length - m_position);
        if (m_position < m_windowStart || m_position + wanted > m_windowStart + m_windowFill) {
            if (std::size_t(wanted) > m_window.size())
                return readDirect(wanted);
            // A window that reaches the end of the file when it can, since
            // tags at the end are looked for at several offsets from it.
            m_windowStart = std::max(0L, std::min(m_position, m_length - long(m_window.size())));
            m_windowFill = readAt(m_window.data(), long(m_window.size()), m_windowStart);
        }
        const long available =
            std::max(0L, std::min(wanted, m_windowStart + m_windowFill - m_position));
        TagLib::ByteVector block(m_window.data() + (m_position - m_windowStart),
                                 static_cast<unsigned int>(available));
        m_position += available;
        return block;
    }
    void writeBlock(const TagLib::ByteVector &) override {}
    void insert(const TagLib::ByteVector &, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position from) override
    {
        const long base = from == Beginning ? 0 : from == Current ? m_position : m_length;
        m_position = std::max(0L, base + offset);
    }
    long tell() const override { return m_position; }
    long length() override { return m_length; }
    void truncate(long) override {}

private:
    long readAt(char *buffer, long size, long offset) const
    {
        long done = 0;
        while (done < size) {
            const ssize_t got = pread(m_fd, buffer + done, std::size_t(size - done), offset + done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
        return done;
    }
    TagLib::ByteVector readDirect(long length)
    {
        TagLib::ByteVector block(static_cast<unsigned int>(length), '\0');
        const long got = readAt(block.data(), length, m_position);
        block.resize(static_cast<unsigned int>(got));
        m_position += got;
        return block;
    }

    int m_fd;
    long m_length;
    long m_position = 0;
    std::vector<char> &m_window;
    long m_windowStart = 0;
    long m_windowFill = 0;
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
        WindowStream stream(fd, length, m_window);
        TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                                TagLib::AudioProperties::Average);
        // A tag over audio that is cut short or missing still names the track.
        if (const TagLib::Tag *tag = file.tag()) {
            info.title = tag->title().to8Bit(true);
            info.artist = tag->artist().to8Bit(true);
            info.album = tag->album().to8Bit(true);
            info.track = tag->track();
            info.year = tag->year();
            info.genre = tag->genre().to8Bit(true);
        }
        if (const TagLib::AudioProperties *audio = file.audioProperties()) {
            if (audio->lengthInMilliseconds() > 0)
                info.milliseconds = audio->lengthInMilliseconds();
            info.kilobitsPerSecond = std::max(audio->bitrate(), 0);
            info.audio = file.isValid() && (info.kilobitsPerSecond > 0 || info.milliseconds > 0);
        }
    }
    ::close(fd);
}

} // namespace tunefold
