// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CoverImage.h"

#include "platform/EntryStat.h"

#include <array>
#include <dirent.h>
#include <optional>
#include <string_view>
#include <strings.h>

namespace tunefold {

namespace {

constexpr std::array<const char *, 6> Names = {"cover.jpg",  "cover.png", "folder.jpg",
                                               "folder.png", "front.jpg", "front.png"};

// The rank of name among Names, or Names.size() when it is none of them.
std::size_t rank(const char *name)
{
    std::size_t i = 0;
    while (i < Names.size() && strcasecmp(name, Names[i]) != 0)
        ++i;
    return i;
}

} // namespace

std::string findCoverImage(const std::string &folder)
{
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return {};
    std::string best;
    std::size_t bestRank = Names.size();
    while (const dirent *found = readdir(dir)) {
        const std::size_t r = rank(found->d_name);
        if (r >= bestRank)
            continue;
        const std::optional<EntryStat> stat = statEntry(dirfd(dir), found->d_name, found->d_type);
        if (stat && stat->regular) {
            best = found->d_name;
            bestRank = r;
        }
    }
    closedir(dir);
    return best;
}

} // namespace tunefold
