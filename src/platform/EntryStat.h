// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace tunefold {

// What the list needs to know of one folder entry, links followed.
struct EntryStat
{
    std::uint64_t size = 0; // a regular file's size; 0 for anything else
    bool regular = false;
};

// Looks at name in the folder open as folderFd; type is the entry's d_type.
// Returns nothing for an entry removed since it was read. A link to nothing,
// a loop of links or a folder we may list but not search is there, with
// size 0, but not regular.
[[nodiscard]] std::optional<EntryStat> statEntry(int folderFd, const char *name,
                                                 unsigned char type);

} // namespace tunefold
