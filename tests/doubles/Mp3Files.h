// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small MP3 files made on the spot: silent MPEG audio, with tags written by
// TagLib. Shared by the tests and the benchmark.

#include <fstream>

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace tunefold::test {

struct Tags
{
    TagLib::String title, artist, album;
    unsigned track = 0;
    TagLib::String::Type encoding = TagLib::String::UTF8;
    int version = 4; // ID3v2.4; UTF-8 needs it, Latin-1 and UTF-16 go in 2.3 too
};

// Writes silent audio to path (any bytes) and, unless tags is null, an ID3v2
// tag over it. Returns false when either fails. The audio: silent MPEG-1
// Layer III frames, mono, 128 kbit/s at 44.1 kHz (417 bytes each). The first
// carries a Xing header claiming claimedFrames, so players and readers take
// the length from it (7,848 frames are 3:25) while the file stays a few
// kilobytes.
inline bool writeMp3(const char *path, const Tags *tags, int frames = 4,
                     unsigned claimedFrames = 7848)
{
    constexpr std::size_t FrameSize = 417;
    std::string audio;
    for (int i = 0; i < frames; ++i) {
        std::string frame = std::string("\xFF\xFB\x90\xC0", 4) + std::string(FrameSize - 4, '\0');
        if (i == 0) {
            // After the header and mono's 17 bytes of side information:
            // frame count and byte count are present.
            std::string xing("Xing\0\0\0\3", 8);
            for (const unsigned value : {claimedFrames, claimedFrames * unsigned(FrameSize)})
                for (int shift = 24; shift >= 0; shift -= 8)
                    xing += static_cast<char>(value >> shift);
            frame.replace(21, xing.size(), xing);
        }
        audio += frame;
    }
    std::ofstream file(path, std::ios::binary); // TagLib opens it again, flushed
    if (!file.write(audio.data(), std::streamsize(audio.size())).flush())
        return false;
    if (!tags)
        return true;
    TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(tags->encoding);
    TagLib::MPEG::File mp3(path);
    TagLib::ID3v2::Tag *tag = mp3.ID3v2Tag(true);
    tag->setTitle(tags->title);
    tag->setArtist(tags->artist);
    tag->setAlbum(tags->album);
    tag->setTrack(tags->track);
    return mp3.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                    tags->version == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4);
}

} // namespace tunefold::test
