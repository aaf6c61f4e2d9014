// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "StdoutOutput.h"

#include "platform/FileOutput.h"

#include <cstring>
#include <unistd.h>

namespace tunefold {

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
