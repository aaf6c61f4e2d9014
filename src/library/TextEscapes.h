// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tunefold {

// Names are bytes and tags are whatever a file holds; every format has its
// own rules for what may stand in it. These write text for each.

// How appendText() writes what it keeps.
enum class TextRule {
    Plain, // as it is (M3U titles)
    Html,  // "&", "<", ">" and both quotes as references
    Json,  // inside a JSON string: quote, backslash and control characters escaped
};

// Appends text as valid UTF-8: each byte that does not decode becomes U+FFFD.
// For Plain and Html, control characters (C0, DEL, C1) become U+FFFD too, as
// they have no place in a title or a table cell; Json keeps them, escaped, so
// a name with a line break reads back exactly.
void appendText(std::string &out, std::string_view text, TextRule rule);

// Whether text is entirely well-formed UTF-8.
[[nodiscard]] bool isUtf8(std::string_view text);

// A relative URL for a path of raw bytes: every byte but letters, digits,
// "-._~" and the "/" between folders as %XX, so any name links exactly.
void appendUrlPath(std::string &out, std::string_view path);

// A playing time as m:ss (minutes may pass 59), or h:mm:ss when asked.
void appendDuration(std::string &out, std::uint64_t seconds, bool withHours = false);

void appendNumber(std::string &out, std::uint64_t value);

// Rounded to the nearest second.
[[nodiscard]] inline std::uint64_t wholeSeconds(std::uint64_t milliseconds)
{
    return (milliseconds + 500) / 1000;
}

} // namespace tunefold
