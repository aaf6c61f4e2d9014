// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EntryStat.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tunefold {

std::optional<EntryStat> statEntry(int folderFd, const char *name, unsigned char type)
{
    // The entry's type, when the file system gives it, spares a look-up for
    // folders and devices, whose size is 0 in the list anyway.
    switch (type) {
    case DT_REG:
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return EntryStat{};
    }
    struct stat st;
    if (fstatat(folderFd, name, &st, 0) == 0) {
        if (!S_ISREG(st.st_mode))
            return EntryStat{};
        return EntryStat{static_cast<std::uint64_t>(st.st_size), true};
    }
    if (errno != ENOENT)
        return EntryStat{}; // a link loop or a folder we may list but not search
    // ENOENT is either a link to nothing, which is listed, or an entry that
    // was removed after readdir saw it, which is not.
    if (fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EntryStat{};
    return std::nullopt;
}

} // namespace tunefold
