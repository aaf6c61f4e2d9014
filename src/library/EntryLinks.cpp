// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/EntryLinks.h"

#include "library/TextEscapes.h"

namespace tunefold {

void EntryLinks::appendPath(std::string &out, std::string_view path) const
{
    if (m_kind == Kind::Base) {
        out += m_prefix;
        appendUrlPath(out, path);
        return;
    }
    out += m_prefix;
    out += path;
}

void EntryLinks::appendUrl(std::string &out, std::string_view path) const
{
    switch (m_kind) {
    case Kind::Base:
        appendText(out, m_prefix, TextRule::Html);
        appendUrlPath(out, path);
        return;
    case Kind::Absolute:
        out += "file://";
        break;
    case Kind::Relative:
        break;
    }
    // ":" is encoded too, so a first folder like "a:b" never reads as a scheme.
    appendUrlPath(out, m_prefix);
    appendUrlPath(out, path);
}

} // namespace tunefold
