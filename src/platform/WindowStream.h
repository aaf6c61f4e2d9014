// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <taglib/tiostream.h>

#include <vector>

namespace tunefold {

// A read-only TagLib stream over an open file. TagLib's own FileStream goes
// through stdio and asks the system for every seek, position and length:
// about 25 calls a file, most of a page's time. This one takes the length
// from the caller's fstat and serves reads from one window of the file read
// with pread, so a small file costs one read and a large one about three
// (the tag, the first frame, the end). Every write is refused.
class WindowStream final : public TagLib::IOStream
{
public:
    // name is what TagLib sees as the file's name (it picks a format by its
    // suffix); fd, name and window must outlive the stream.
    WindowStream(int fd, long length, const char *name, std::vector<char> &window)
        : m_fd(fd), m_length(length), m_name(name), m_window(window)
    {
    }

    TagLib::FileName name() const override { return m_name; }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector &) override {}
    void insert(const TagLib::ByteVector &, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position from) override;
    long tell() const override { return m_position; }
    long length() override { return m_length; }
    void truncate(long) override {}

private:
    long readAt(char *buffer, long size, long offset) const;
    TagLib::ByteVector readDirect(long length);

    int m_fd;
    long m_length;
    const char *m_name;
    long m_position = 0;
    std::vector<char> &m_window;
    long m_windowStart = 0;
    long m_windowFill = 0;
    long m_windowRead = 0; // bytes read into the window, against a budget
};

} // namespace tunefold
