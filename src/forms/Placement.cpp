// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Placement.h"

#include <algorithm>

namespace tunefold {

QPoint placedInside(const QRect &available, QPoint centre, QSize frame)
{
    const QPoint topLeft = centre - QPoint(frame.width() / 2, frame.height() / 2);
    // The top-left corner wins where the frame is larger: the title bar and
    // the menus stay reachable.
    return {
        std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - frame.width())),
        std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - frame.height()))};
}

} // namespace tunefold
