// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/TrackReader.h"

#include <string_view>
#include <vector>

namespace tunefold {

// Tags and audio properties of every format TagLib reads, through its
// format-specific readers: for MPEG files ID3v2, APE and ID3v1, field by
// field in that order of preference. Only regular files are opened,
// read-only, so a FIFO or a device that carries a music file's name is never
// touched.
class TagLibTrackReader final : public TrackReader
{
public:
    TagLibTrackReader();
    void read(int atFd, const char *path, TrackInfo &info) override;

private:
    std::vector<char> m_window; // reused for every file
};

// The suffixes (lower case, without the dot) of the formats read as music.
[[nodiscard]] const std::vector<std::string_view> &audioSuffixes();

} // namespace tunefold
