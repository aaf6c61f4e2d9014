// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tunefold {

// The scale both windows are laid out at (logical pixels per 15 twips): fitted
// to the desktop's default font and the primary screen's logical DPI so that
// the texts of every window fit their boxes, but held back (never below 1)
// where the main window would not fit the primary screen's free area; the
// windows then shrink their font to fit. One scale for all windows keeps
// their proportions alike; the program fits it once at start.
[[nodiscard]] double displayScale();

} // namespace tunefold
