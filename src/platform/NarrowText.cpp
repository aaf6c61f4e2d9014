// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NarrowText.h"

namespace tunefold {

namespace {

constexpr bool isContinuation(unsigned char byte) noexcept
{
    return (byte & 0xC0) == 0x80;
}

constexpr unsigned char foldCase(unsigned char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// narrowCharLength() with ASCII, by far the common case in file names,
// decided inline: the matcher steps through every name of a folder this way.
std::size_t charLength(std::string_view text, std::size_t pos) noexcept
{
    return static_cast<unsigned char>(text[pos]) < 0x80 ? 1 : narrowCharLength(text, pos);
}

} // namespace

std::size_t narrowCharLength(std::string_view text, std::size_t pos) noexcept
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(pos);
    if (lead < 0x80)
        return 1;

    // Ranges of the second byte that rule out overlong forms, surrogates and
    // code points above U+10FFFF; later bytes need only be continuations.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 1;
    }
    if (text.size() - pos < length || at(pos + 1) < low || at(pos + 1) > high)
        return 1;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(pos + i)))
            return 1;
    }
    return length;
}

std::size_t narrowCharCount(std::string_view text) noexcept
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        pos += charLength(text, pos);
    return count;
}

bool matchesPattern(std::string_view pattern, std::string_view name) noexcept
{
    // Greedy match that backtracks only to the most recent "*": linear in
    // practice and never recursive, whatever the pattern.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += charLength(name, n);
        } else if (p < pattern.size() && foldCase(static_cast<unsigned char>(pattern[p])) ==
                                             foldCase(static_cast<unsigned char>(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            // Let the "*" take one more whole character and try again.
            starN += charLength(name, starN);
            p = starP + 1;
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace tunefold
