// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

namespace tunefold::artwork {

// Encodes one pointer image as a cursor file (.cur): an icon directory of type 2
// whose single entry carries the hotspot in its planes / bit-count fields, then
// a bitmap header with doubled height, 32-bit BGRA pixels bottom-up and the
// 1-bit AND mask. Pixels whose alpha is below half become fully transparent
// (mask bit set); all others are written opaque, so old readers that honour
// only the mask see the same outline as readers that use the alpha channel.
class CursorFile
{
public:
    // Returns an empty array when the image is empty or larger than 256 x 256
    // or the hotspot lies outside it.
    [[nodiscard]] static QByteArray encode(const QImage &image, QPoint hotspot);
};

} // namespace tunefold::artwork
