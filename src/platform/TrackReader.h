// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tunefold {

// What a music file says about itself. Text is UTF-8; anything the file does
// not tell is empty, 0 or -1.
struct TrackInfo
{
    std::string title, artist, album;
    unsigned track = 0;    // number on the album, 0 when unknown
    int milliseconds = -1; // playing time, -1 when unknown
    int kilobitsPerSecond = 0;
    bool audio = false; // whether the file was read as audio at all
    unsigned year = 0;  // 0 when unknown
    std::string genre;
    unsigned disc = 0; // 0 when unknown

    void clear()
    {
        title.clear();
        artist.clear();
        album.clear();
        track = 0;
        milliseconds = -1;
        kilobitsPerSecond = 0;
        audio = false;
        year = 0;
        genre.clear();
        disc = 0;
    }
};

// Reads the tags and audio properties of one file.
class TrackReader
{
public:
    virtual ~TrackReader() = default;

    // path is relative to the folder open as atFd (or AT_FDCWD). Fills info
    // with what can be read and clears the rest; a file that is not a
    // regular file, cannot be opened or makes no sense leaves info cleared.
    virtual void read(int atFd, const char *path, TrackInfo &info) = 0;
};

} // namespace tunefold
