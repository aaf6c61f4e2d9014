// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/EntryLinks.h"

#include <QByteArray>
#include <string>

namespace tunefold {

struct ListOptions;

// Where the entries of a list of options.folder point once it is written to
// options.output. A regular file (or one still to be made) gets the way from
// its own real folder to the real folder listed, or the absolute path when
// the two share no folder but the root; standard output, a device or a pipe
// gets the folder as typed, as find(1) prints it. --absolute and --base
// override both.
[[nodiscard]] EntryLinks linksFor(const ListOptions &options);

// The folder's own name, the last part of its resolved path ("/" for the
// root); the name as typed when it cannot be resolved.
[[nodiscard]] std::string realFolderName(const QByteArray &folder);

} // namespace tunefold
