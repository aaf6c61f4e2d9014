// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tunefold {

// One matching folder entry. The name points into the search's own buffer
// and stays valid only until the next call on the search.
struct FolderEntry
{
    std::string_view name; // the file system's bytes, relative to the folder searched
    std::uint64_t size = 0;
    bool regular = true; // a regular file, links followed; false for a folder or a broken link
};

// Finds the entries of one folder whose names match a pattern, or any of
// several, one at a time and in the file system's order, holding nothing
// but the current entry.
class FolderSearch
{
public:
    virtual ~FolderSearch() = default;

    // pattern is a folder, "/" and a name pattern ("/home/a/Music/*.mp3").
    // Returns false when nothing matches or the folder cannot be read;
    // otherwise fills entry with the first match.
    [[nodiscard]] bool findFirst(std::string_view pattern, FolderEntry &entry)
    {
        const std::size_t slash = pattern.rfind('/');
        const std::string_view folder = slash == std::string_view::npos ? "."
                                        : slash == 0                    ? "/"
                                                                        : pattern.substr(0, slash);
        const std::string name(slash == std::string_view::npos ? pattern
                                                               : pattern.substr(slash + 1));
        return findFirstOf(folder, {&name, 1}, entry);
    }
    // The same for the entries of folder whose names match any of
    // namePatterns ("*.mp3", "*.flac").
    [[nodiscard]] virtual bool findFirstOf(std::string_view folder,
                                           std::span<const std::string> namePatterns,
                                           FolderEntry &entry) = 0;
    // Returns false when no match is left or reading fails.
    [[nodiscard]] virtual bool findNext(FolderEntry &entry) = 0;
    // Releases the folder; safe to call when nothing is open.
    virtual void close() = 0;
    // Whether a sub-folder was skipped because it could not be read.
    [[nodiscard]] virtual bool partial() const { return false; }
};

} // namespace tunefold
