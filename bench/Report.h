// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tunefold::bench {

// What every part of the benchmark needs to know.
struct Settings
{
    std::string binDir; // where tunefold-list, tunefold and the helpers are
    std::string cache;  // the reusable folders and the outputs
    int runs = 9;       // timed runs of each command
};

[[nodiscard]] double median(std::vector<double> values);
// 1234567 as "1,234,567".
[[nodiscard]] std::string grouped(std::uint64_t value);
// value with the given number of decimals.
[[nodiscard]] std::string fixed(double value, int decimals);
// "met" or "NOT met", for the goals column.
[[nodiscard]] std::string verdict(bool met);

} // namespace tunefold::bench
