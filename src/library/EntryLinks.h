// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tunefold {

// Where a page's links and a playlist's entries point, for a path below the
// folder listed. Players and browsers resolve a relative entry against the
// list's own folder, so the prefix is worked out for where the list goes.
class EntryLinks
{
public:
    enum class Kind {
        Relative, // prefix + path: the way from the list's folder, or the folder as typed
        Absolute, // prefix is an absolute folder ending in "/"; a page links file: URLs
        Base,     // prefix is a URL; both formats write it + the percent-encoded path
    };

    // The path as it stands, for a list in the folder listed.
    EntryLinks() = default;
    EntryLinks(Kind kind, std::string prefix) : m_kind(kind), m_prefix(std::move(prefix)) {}

    // The bytes that open the file, for a playlist.
    void appendPath(std::string &out, std::string_view path) const;
    // A URL, escaped to stand in an HTML attribute.
    void appendUrl(std::string &out, std::string_view path) const;

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] const std::string &prefix() const { return m_prefix; }

private:
    Kind m_kind = Kind::Relative;
    std::string m_prefix;
};

} // namespace tunefold
