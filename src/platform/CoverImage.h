// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tunefold {

// The name of the picture that stands for an album in folder: a regular
// file named cover, folder or front (in that order of preference), .jpg or
// .png, letters in any case. Empty when there is none or the folder cannot
// be read.
[[nodiscard]] std::string findCoverImage(const std::string &folder);

} // namespace tunefold
