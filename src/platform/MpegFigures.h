// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace TagLib {
class String;
namespace MPEG {
class File;
}
} // namespace TagLib

namespace tunefold {

struct TrackInfo;

// Length and bit rate of an MPEG audio file as players and decoders give
// them, where TagLib's figures differ: a constant rate is the nominal one,
// a length leaves out the encoder's delay and padding, and a variable-rate
// file without a Xing or VBRI header has its frames counted. Leaves both
// unknown when the file holds no MPEG frame; info.audio tells which.
void readMpegFigures(TagLib::MPEG::File &file, TrackInfo &info);

// The disc number ("2" or "2/3") of the first tag that has one, ID3v2
// before APE as for every other field; ID3v1 has none.
[[nodiscard]] TagLib::String mpegDiscText(TagLib::MPEG::File &file);

} // namespace tunefold
