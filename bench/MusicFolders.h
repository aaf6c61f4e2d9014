// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchFolders.h"

namespace tunefold::bench {

// count real MP3 files in one folder, each a few silent MPEG frames under an
// ID3v2.4 tag written by TagLib (title, artist, album, track), with lengths
// from a Xing header of 1 to 6 minutes. Made once and reused, like
// benchFolder().
[[nodiscard]] BenchFolder taggedFolder(const std::string &cache, std::uint64_t count);

// A music library: albums album folders, grouped 100 to an artist folder,
// each with perAlbum entries, nine in ten "*.mp3" (sparse files, no data),
// the rest covers and notes. Made once and reused.
[[nodiscard]] BenchFolder nestedFolder(const std::string &cache, std::uint64_t albums,
                                       std::uint64_t perAlbum);

} // namespace tunefold::bench
