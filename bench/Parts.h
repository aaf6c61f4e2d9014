// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchFolders.h"
#include "ChildProcess.h"
#include "Report.h"

#include <vector>

namespace tunefold::bench {

// Each part prints its own Markdown table on standard output and returns
// whether the goals it checks were met.

// Wall time of tunefold-list, find, tree and the C floor, alternating runs.
bool reportWallTimes(const Settings &settings, const std::vector<BenchFolder> &folders);
// Peak resident memory of tunefold-list for a small and a large folder.
bool reportMemory(const Settings &settings, const BenchFolder &small, const BenchFolder &large);
// System calls of tunefold-list (and find, for comparison) under strace.
bool reportSyscalls(const Settings &settings, const BenchFolder &folder);
// tunefold-list --format page against exiftool and mediainfo over tagged
// MP3 files, warm and cold, and what a pool of readers would gain cold.
bool reportTags(const Settings &settings, const BenchFolder &tagged);
// tunefold-list --audio over 10,000 tagged files in seven formats against
// an I/O floor, ffprobe and exiftool, and its fragment against find.
bool reportFormatMix(const Settings &settings);
// tunefold-list --recursive against find over nested folders, and its memory.
bool reportNested(const Settings &settings, const BenchFolder &small, const BenchFolder &nested);
// tunefold-list against find over 300,000 entries in one folder and 200,000
// in 2,000 folders (-r), and its memory from 100,000 to 300,000 entries.
bool reportBigFolders(const Settings &settings);
// Time until the tunefold window is mapped under Xvfb, with a bare Qt window
// as the baseline.
bool reportStartup(const Settings &settings);
// Time and memory of one press of System Info... against 16 MiB store files
// of the shapes that cost most, with grep reading the same file as reference.
bool reportStore(const Settings &settings);
// The window's folder list opening a folder of 100,000 sub-folders against
// one of 10: time until it answers, peak memory, time to end at File > Exit.
bool reportFolderList(const Settings &settings);

// The commands that make one list of folder into the cache's out folder.
[[nodiscard]] Command listCommand(const Settings &settings, const BenchFolder &folder);
[[nodiscard]] Command findCommand(const Settings &settings, const BenchFolder &folder);
[[nodiscard]] Command treeCommand(const Settings &settings, const BenchFolder &folder);
[[nodiscard]] Command floorCommand(const Settings &settings, const BenchFolder &folder);
// Runs command after deleting output and writing out every dirty page.
Finished runFresh(const Command &command, const std::string &output);

} // namespace tunefold::bench
