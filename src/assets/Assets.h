// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>

namespace tunefold {

// The background picture that both windows share, and its own size: 7290 x
// 5025 twips, here at 15 twips to a logical pixel (times the display scale on
// screen). It is drawn at that size from the top-left corner, never
// stretched, and each window cuts off the rest.
inline constexpr char BackgroundPicture[] = ":/assets/background.svg";
inline constexpr QSizeF BackgroundSize(7290 / 15.0, 5025 / 15.0);

// Registers the pictures and the icon under ":/assets". They live in a static
// library, whose resources the linker drops unless something names them, so
// every program and test that shows a window calls this first. Safe to call
// more than once.
void initAssets();

} // namespace tunefold
