// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/TextEscapes.h"

#include "platform/NarrowText.h"

#include <charconv>

namespace tunefold {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

bool isControl(std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1)
        return lead < 0x20 || lead == 0x7F;
    // U+0080 to U+009F
    return character.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

void appendJsonControl(std::string &out, unsigned char c)
{
    switch (c) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        static constexpr char Hex[] = "0123456789abcdef";
        out += "\\u00";
        out += Hex[c >> 4];
        out += Hex[c & 15];
    }
}

} // namespace

void appendText(std::string &out, std::string_view text, TextRule rule)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = narrowCharLength(text, pos);
        const std::string_view character = text.substr(pos, length);
        pos += length;
        const auto c = static_cast<unsigned char>(character[0]);
        if (length == 1 && c >= 0x80) {
            out += Replacement;
        } else if (rule == TextRule::Json) {
            if (c < 0x20)
                appendJsonControl(out, c);
            else if (c == '"' || c == '\\')
                (out += '\\') += char(c);
            else
                out += character;
        } else if (isControl(character)) {
            out += Replacement;
        } else if (rule == TextRule::Plain || length > 1) {
            out += character;
        } else {
            switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += char(c);
            }
        }
    }
}

bool isUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = narrowCharLength(text, pos);
        if (length == 1 && static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
        pos += length;
    }
    return true;
}

void appendUrlPath(std::string &out, std::string_view path)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
}

void appendNumber(std::string &out, std::uint64_t value)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void appendDuration(std::string &out, std::uint64_t seconds, bool withHours)
{
    std::uint64_t minutes = seconds / 60;
    if (withHours) {
        appendNumber(out, minutes / 60);
        out += ':';
        minutes %= 60;
        out += char('0' + minutes / 10);
        out += char('0' + minutes % 10);
    } else {
        appendNumber(out, minutes);
    }
    out += ':';
    out += char('0' + seconds % 60 / 10);
    out += char('0' + seconds % 10);
}

} // namespace tunefold
