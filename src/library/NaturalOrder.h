// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace tunefold {

// An entry kept for sorting; what --sort costs is one of these per file.
struct KeptEntry
{
    std::string path; // raw bytes, relative to the folder listed
    std::uint64_t size = 0;
    QString key; // the path as text, for the collator
};

// Sorts by path the way people sort names: folder by folder, numbers by
// their value ("2" before "10"), letters without regard to case, in the
// collation of the user's locale; names that collate alike keep a fixed
// order by their bytes.
void sortNaturally(std::vector<KeptEntry> &entries);

} // namespace tunefold
