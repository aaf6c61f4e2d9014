// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/TrackReader.h"

#include <vector>

namespace tunefold {

// Tags (ID3v2, APE, ID3v1, in that order of preference) and MPEG audio
// properties through TagLib. Only regular files are opened, read-only, so a
// FIFO or a device that carries a music file's name is never touched.
class TagLibTrackReader final : public TrackReader
{
public:
    TagLibTrackReader();
    void read(int atFd, const char *path, TrackInfo &info) override;

private:
    std::vector<char> m_window; // reused for every file
};

} // namespace tunefold
