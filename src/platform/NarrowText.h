// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace tunefold {

// File names are byte strings in UTF-8, the narrow encoding Qt assumes on
// Linux, but nothing forces them to be valid. These count a well-formed
// UTF-8 sequence as one character and every byte that does not decode as one
// character of its own, so any name has a definite width.

// Length in bytes of the character that starts at text[pos] (pos < size).
[[nodiscard]] std::size_t narrowCharLength(std::string_view text, std::size_t pos) noexcept;

// Number of characters in text.
[[nodiscard]] std::size_t narrowCharCount(std::string_view text) noexcept;

// Matches name against a pattern in which "*" stands for any run of
// characters (none included), "?" for one character, letters match without
// regard to ASCII case and everything else literally.
[[nodiscard]] bool matchesPattern(std::string_view pattern, std::string_view name) noexcept;

} // namespace tunefold
