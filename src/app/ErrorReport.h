// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/RuntimeError.h"

namespace tunefold {

// "Run-time error 2: No such file or directory: /opt/tunefold/hand.cur"
[[nodiscard]] QString runtimeErrorText(const RuntimeError &error);

// Writes the report to standard error and, where a screen can show one, in a
// modal message box; returns once the user has closed the box.
void reportRuntimeError(const RuntimeError &error);

} // namespace tunefold
