// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowStream.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace tunefold {

namespace {

// TagLib looks for a frame, or a tag before one, 1 KiB at a time through the
// window up to the end of the file: minutes over 50 GB of zeros. Past this
// much the file reads as ended there; a track takes a few windows, and the
// frame counting reads its large blocks past the window.
constexpr long WindowBudget = 16L << 20;

} // namespace

TagLib::ByteVector WindowStream::readBlock(unsigned long length)
{
    if (m_position >= m_length || length == 0)
        return {};
    const long wanted = std::min(long(length), m_length - m_position);
    if (m_position < m_windowStart || m_position + wanted > m_windowStart + m_windowFill) {
        if (std::size_t(wanted) > m_window.size())
            return readDirect(wanted);
        if (m_windowRead >= WindowBudget)
            return {};
        // A window that reaches the end of the file when it can, since
        // tags at the end are looked for at several offsets from it.
        m_windowStart = std::max(0L, std::min(m_position, m_length - long(m_window.size())));
        m_windowFill = readAt(m_window.data(), long(m_window.size()), m_windowStart);
        m_windowRead += m_windowFill;
    }
    const long available =
        std::max(0L, std::min(wanted, m_windowStart + m_windowFill - m_position));
    TagLib::ByteVector block(m_window.data() + (m_position - m_windowStart),
                             static_cast<unsigned int>(available));
    m_position += available;
    return block;
}

void WindowStream::seek(long offset, Position from)
{
    const long base = from == Beginning ? 0 : from == Current ? m_position : m_length;
    m_position = std::max(0L, base + offset);
}

long WindowStream::readAt(char *buffer, long size, long offset) const
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

TagLib::ByteVector WindowStream::readDirect(long length)
{
    TagLib::ByteVector block(static_cast<unsigned int>(length), '\0');
    const long got = readAt(block.data(), length, m_position);
    block.resize(static_cast<unsigned int>(got));
    m_position += got;
    return block;
}

} // namespace tunefold
