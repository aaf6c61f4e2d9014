// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

#include <QByteArray>

namespace tunefold {

// What a run of tunefold-list is asked to do. Names are the bytes given on
// the command line, so any name the file system can hold works.
struct ListOptions
{
    QByteArray folder;
    QByteArray output; // "-" is standard output
    bool recursive = false;
    ListFormat format = ListFormat::Fragment;
    bool sortByName = false;
};

struct CommandLine
{
    enum Action {
        List, // options holds what to list and where
        ShowHelp,
        ShowVersion,
        UsageError, // error says why, without the program's name
    };
    Action action = List;
    ListOptions options;
    QByteArray error;
};

// Reads argv the way command-line tools do: options anywhere, "--" ends
// them, an unknown option is an error.
[[nodiscard]] CommandLine parseCommandLine(int argc, const char *const *argv);

// The text --help prints.
[[nodiscard]] QByteArray usageText();

} // namespace tunefold
