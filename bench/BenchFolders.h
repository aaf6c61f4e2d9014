// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tunefold::bench {

// A folder of test entries: nine in ten are "*.mp3" files (a few spelt
// ".MP3"), the rest other files. Every file is sparse, so a million entries
// cost inodes but no data blocks, and sizes still vary from 0 to 12 MiB.
struct BenchFolder
{
    std::string path;
    std::uint64_t entries = 0;
    std::uint64_t matches = 0;
};

// Returns the folder of count entries under cache, creating it on the first
// call and reusing it afterwards (a marker file says it is complete, so an
// interrupted creation is finished the next time). Throws std::runtime_error
// when the folder cannot be made.
[[nodiscard]] BenchFolder benchFolder(const std::string &cache, std::uint64_t count);

// Whether the marker file of a cached folder holds layout, the text naming
// what the folder was made as; markComplete() writes it once the folder is
// whole, and throws std::runtime_error when it cannot.
[[nodiscard]] bool isComplete(const std::string &marker, std::string_view layout);
void markComplete(const std::string &marker, std::string_view layout);

// Creates path unless it exists; throws std::runtime_error on failure.
void makeFolder(const std::string &path);

} // namespace tunefold::bench
