// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tunefold {

// Finds and starts another program. The launcher talks to this rather than
// to the file system and QProcess so tests can script what it finds.
class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;

    // True when path names an ordinary file: a regular file, links followed,
    // whose name does not begin with "." (a hidden file). Folders, devices,
    // broken links and paths that cannot be examined give false.
    [[nodiscard]] virtual bool isOrdinaryFile(const QString &path) = 0;

    // Starts path as a program of its own, whole and unchanged, with no
    // arguments and no shell in between, and returns without waiting for it.
    // Returns false when path is empty or names nothing that can be started.
    // Nothing of the started process is kept.
    [[nodiscard]] virtual bool start(const QString &path) = 0;
};

} // namespace tunefold
