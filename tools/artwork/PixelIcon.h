// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace tunefold::artwork {

// The 16 x 16 window icon, drawn pixel by pixel. At this size a scaled-down
// vector drawing turns the lens rim and the keyboard into grey mush, so the
// icon is kept as a hand-placed table in the classic 16-colour palette and
// icon.svg is its smooth counterpart for larger sizes.
class PixelIcon
{
public:
    // The icon as an indexed image whose colour table holds only the colours
    // the table uses (index 0 is transparent); empty if the table is malformed.
    [[nodiscard]] static QImage image();
};

} // namespace tunefold::artwork
