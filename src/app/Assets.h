// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tunefold {

// Registers the pictures and the icon under ":/assets". They live in a static
// library, whose resources the linker drops unless something names them, so
// every program and test that shows a window calls this first. Safe to call
// more than once.
void initAssets();

} // namespace tunefold
