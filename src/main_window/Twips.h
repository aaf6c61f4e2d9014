// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QtMath>

namespace tunefold {

// The window's layout is given in twips, 1440 to the logical inch, so 15 to
// a logical pixel; Qt scales logical pixels on dense screens.
inline constexpr double TwipsPerPixel = 15.0;

[[nodiscard]] inline int twipsToPixels(int twips)
{
    return qRound(twips / TwipsPerPixel);
}

// Each edge is rounded on its own, so controls that touch in twips still
// touch in pixels and nothing leaves the client area.
[[nodiscard]] inline QRect twipsRect(int left, int top, int width, int height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

} // namespace tunefold
