// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tunefold {

// Where a frame of that size stands centred on centre, moved inside
// available as far as it fits.
[[nodiscard]] QPoint placedInside(const QRect &available, QPoint centre, QSize frame);

} // namespace tunefold
