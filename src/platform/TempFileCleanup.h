// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tunefold {

// Removes the temporary files still being written when SIGTERM, SIGINT or
// SIGHUP ends the program, then lets the signal end it as it would have.
// Signals that were ignored or handled when the first file was remembered
// are left alone. SIGKILL cannot be caught: its temporary file stays.
class TempFileCleanup
{
public:
    // name lies in the folder open as folderFd, which must stay open until
    // forget(). Returns the slot to forget, or -1 when every slot is taken
    // (the file is then not removed on a signal).
    [[nodiscard]] static int remember(int folderFd, const char *name);
    static void forget(int slot);
};

} // namespace tunefold
