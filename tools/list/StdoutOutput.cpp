// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "StdoutOutput.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tunefold {

int writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes = bytes.sliced(written);
    }
    return 0;
}

bool StdoutOutput::open(const QByteArray &)
{
    return true;
}

bool StdoutOutput::write(std::string_view bytes)
{
    if (const int error = writeAll(STDOUT_FILENO, bytes); error != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    return true;
}

} // namespace tunefold
