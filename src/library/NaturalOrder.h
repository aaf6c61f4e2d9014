// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tunefold {

// Sorts the names of one folder the way people sort them: numbers by their
// value ("2" before "10"), letters without regard to case, in the collation
// of the user's locale; names that collate alike keep a fixed order by their
// bytes. Names are raw bytes, read as UTF-8.
void sortNaturally(std::vector<std::string> &names);

} // namespace tunefold
