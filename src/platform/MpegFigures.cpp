// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MpegFigures.h"

#include "platform/TrackReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <taglib/apetag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>

namespace tunefold {

namespace {

using TagLib::ByteVector;

// Frames looked at in each of three places to tell a constant rate from a
// variable one when no header says which.
constexpr int SampledFrames = 8;
// Bytes read at a time while frames are counted.
constexpr unsigned CountingChunk = 64 * 1024;

// One frame's four header bytes. TagLib's own MPEG::Header cannot be used
// here: the library exports only the constructor that takes a TagLib::File,
// while its header declares one taking an MPEG::File wherever that class is
// declared first, as it is in any file that uses both.
struct Frame
{
    bool valid = false;
    bool version1 = false; // MPEG-1; otherwise MPEG-2 or 2.5
    bool mono = false;
    int bitrate = 0; // kbit/s
    int sampleRate = 0;
    int length = 0; // bytes, header included
    int samples = 0;
};

Frame parseFrame(const unsigned char *b)
{
    static constexpr std::array<std::array<short, 16>, 5> Rates{{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    }};
    static constexpr std::array<int, 3> BaseRates{44100, 48000, 32000};
    Frame frame;
    const int version = (b[1] >> 3) & 3; // 0: 2.5, 2: 2, 3: 1
    const int layer = 4 - ((b[1] >> 1) & 3);
    const int rateIndex = b[2] >> 4;
    const int sampleIndex = (b[2] >> 2) & 3;
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0 || version == 1 || layer == 4 || sampleIndex == 3)
        return frame;
    frame.version1 = version == 3;
    const std::size_t table = frame.version1 ? std::size_t(layer - 1) : layer == 1 ? 3 : 4;
    frame.bitrate = Rates[table][std::size_t(rateIndex)];
    if (frame.bitrate == 0) // free format or a bad index
        return frame;
    frame.sampleRate = BaseRates[std::size_t(sampleIndex)] >> (version == 3   ? 0
                                                               : version == 2 ? 1
                                                                              : 2);
    frame.mono = (b[3] >> 6) == 3;
    const int padding = (b[2] >> 1) & 1;
    if (layer == 1) {
        frame.samples = 384;
        frame.length = (12 * frame.bitrate * 1000 / frame.sampleRate + padding) * 4;
    } else {
        frame.samples = layer == 3 && !frame.version1 ? 576 : 1152;
        frame.length = frame.samples / 8 * frame.bitrate * 1000 / frame.sampleRate + padding;
    }
    frame.valid = true;
    return frame;
}

ByteVector readAt(TagLib::MPEG::File &file, long offset, unsigned size)
{
    file.seek(offset);
    return file.readBlock(size);
}

Frame frameAt(TagLib::MPEG::File &file, long offset)
{
    const ByteVector bytes = readAt(file, offset, 4);
    return bytes.size() == 4 ? parseFrame(reinterpret_cast<const unsigned char *>(bytes.data()))
                             : Frame{};
}

// What the first frame says about the rest, when it is a Xing, Info or VBRI
// frame rather than audio.
struct InfoFrame
{
    enum Kind { None, Xing, Info, Vbri } kind = None;
    unsigned frames = 0;  // audio frames after it; 0 when not given
    unsigned bytes = 0;   // audio bytes, this frame included; 0 when not given
    unsigned trimmed = 0; // samples of encoder delay and padding
};

InfoFrame readInfoFrame(TagLib::MPEG::File &file, long offset, const Frame &first)
{
    InfoFrame info;
    const ByteVector frame = readAt(file, offset, unsigned(std::min(first.length, 512)));
    const unsigned sideInfo = first.version1 ? (first.mono ? 17 : 32) : (first.mono ? 9 : 17);
    unsigned at = 4 + sideInfo;
    const ByteVector id = frame.mid(at, 4);
    if (id == "Xing" || id == "Info") {
        info.kind = id == "Info" ? InfoFrame::Info : InfoFrame::Xing;
        const unsigned flags = frame.toUInt(at + 4, true);
        at += 8;
        if (flags & 1) {
            info.frames = frame.toUInt(at, true);
            at += 4;
        }
        if (flags & 2) {
            info.bytes = frame.toUInt(at, true);
            at += 4;
        }
        at += (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
        // The encoder's extension gives the samples it added before and
        // after the music, which decoders drop (LAME's layout; FFmpeg's
        // encoder writes the same one).
        const ByteVector encoder = frame.mid(at, 4);
        if ((encoder == "LAME" || encoder == "Lavc" || encoder == "Lavf") &&
            frame.size() >= at + 24) {
            const auto byte = [&](unsigned i) {
                return unsigned(static_cast<unsigned char>(frame[int(at + i)]));
            };
            info.trimmed =
                ((byte(21) << 4) | (byte(22) >> 4)) + (((byte(22) & 0xF) << 8) | byte(23));
        }
    } else if (frame.mid(4 + 32, 4) == "VBRI") {
        info.kind = InfoFrame::Vbri;
    }
    return info;
}

// Whether frames at the start, the middle and the end of the audio all have
// the first frame's rate: a constant-rate file without a header.
bool looksConstant(TagLib::MPEG::File &file, long first, long last, int bitrate)
{
    for (const long from : {first, first + (last - first) / 2, last - (last - first) / 8}) {
        long offset = from == first ? first : file.nextFrameOffset(from);
        for (int i = 0; i < SampledFrames && offset >= 0 && offset <= last; ++i) {
            const Frame frame = frameAt(file, offset);
            if (!frame.valid)
                break;
            if (frame.bitrate != bitrate)
                return false;
            offset += frame.length;
        }
    }
    return true;
}

struct Counted
{
    double seconds = 0;
    long long bytes = 0;
};

// Walks the frames header by header, each header giving the next one's
// offset. Reads the whole file, so it is kept to the files that need it.
Counted countFrames(TagLib::MPEG::File &file, long first, long last)
{
    Counted counted;
    long offset = first;
    ByteVector chunk;
    long chunkStart = 0;
    while (offset >= 0 && offset <= last) {
        if (offset < chunkStart || offset + 4 > chunkStart + long(chunk.size())) {
            chunkStart = offset;
            chunk = readAt(file, offset, CountingChunk);
            if (chunk.size() < 4)
                break;
        }
        const Frame frame = parseFrame(reinterpret_cast<const unsigned char *>(chunk.data()) +
                                       (offset - chunkStart));
        if (!frame.valid) {
            // Junk between frames: go on from the next real frame.
            offset = file.nextFrameOffset(offset + 1);
            continue;
        }
        counted.seconds += double(frame.samples) / frame.sampleRate;
        counted.bytes += frame.length;
        offset += frame.length;
    }
    return counted;
}

// A header's counts are whatever the file says: a figure beyond an int is
// held at the largest one rather than overflowing.
int clamped(double value)
{
    return int(std::lround(std::clamp(value, 0.0, double(std::numeric_limits<int>::max()))));
}

int kilobits(double bytes, double seconds)
{
    return seconds > 0 ? clamped(bytes * 8 / seconds / 1000) : 0;
}

} // namespace

void readMpegFigures(TagLib::MPEG::File &file, TrackInfo &info)
{
    const TagLib::MPEG::Properties *properties = file.audioProperties();
    const long first = file.firstFrameOffset();
    if (!properties || first < 0)
        return;
    const Frame header = frameAt(file, first);
    if (!header.valid)
        return;
    info.audio = true;
    if (properties->lengthInMilliseconds() > 0)
        info.milliseconds = properties->lengthInMilliseconds();
    info.kilobitsPerSecond = properties->bitrate();

    const InfoFrame frame = readInfoFrame(file, first, header);
    const double frameSeconds = double(header.samples) / header.sampleRate;
    if ((frame.kind == InfoFrame::Xing || frame.kind == InfoFrame::Info) && frame.frames > 0) {
        const double samples = double(frame.frames) * header.samples;
        // Decoders drop the delay and padding the encoder put around the
        // music; TagLib counts them, 45 ms at 44.1 kHz with LAME's defaults.
        const double played = std::max(0.0, samples - frame.trimmed);
        info.milliseconds = clamped(played * 1000 / header.sampleRate);
        // TagLib divides the header's byte count, Info frame and all, by the
        // length: 129 or 131 for a file every player shows as 128.
        if (frame.kind == InfoFrame::Info)
            info.kilobitsPerSecond = header.bitrate;
        else if (frame.bytes > 0)
            info.kilobitsPerSecond = kilobits(frame.bytes, frame.frames * frameSeconds);
        return;
    }
    if (frame.kind != InfoFrame::None)
        return; // VBRI, or a Xing header without a count: TagLib reads them well
    // No header. TagLib takes the first frame's rate for the whole file and
    // the length from it; a variable-rate file whose first frames are quiet
    // then comes out seconds too long or short, so its frames are counted.
    const long last = file.lastFrameOffset();
    if (last < first || looksConstant(file, first, last, header.bitrate)) {
        info.kilobitsPerSecond = header.bitrate;
        return;
    }
    const Counted counted = countFrames(file, first, last);
    info.milliseconds = clamped(counted.seconds * 1000);
    info.kilobitsPerSecond = kilobits(double(counted.bytes), counted.seconds);
}

TagLib::String mpegDiscText(TagLib::MPEG::File &file)
{
    if (const TagLib::ID3v2::Tag *tag = file.ID3v2Tag()) {
        const TagLib::ID3v2::FrameList &frames = tag->frameListMap()["TPOS"];
        if (!frames.isEmpty() && !frames.front()->toString().isEmpty())
            return frames.front()->toString();
    }
    if (const TagLib::APE::Tag *tag = file.APETag()) {
        const TagLib::APE::ItemListMap &items = tag->itemListMap();
        if (const auto item = items.find("DISC"); item != items.end())
            return item->second.toString();
    }
    return {};
}

} // namespace tunefold
