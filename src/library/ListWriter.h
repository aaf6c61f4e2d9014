// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/EntryLinks.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tunefold {

class OutputFile;
struct TrackInfo;

enum class ListFormat {
    Fragment, // the list document, as the window writes it
    Page,     // a complete HTML page with tags and durations
    M3u,      // an extended M3U8 playlist
    Json,     // JSON Lines, one object a file
    Csv,      // comma-separated values, for spreadsheets
};

// The format of a --format name, or nothing for an unknown name.
[[nodiscard]] std::optional<ListFormat> listFormatNamed(std::string_view name);

struct ListEntry
{
    std::string_view path; // relative to the folder listed, raw bytes
    std::uint64_t size = 0;
    const TrackInfo *track = nullptr; // null when the format reads no tags
};

// Writes one list format. Rows are gathered in a block and handed to the
// output in large writes, so memory stays the same however many follow.
// Every write returns false when the output fails.
class ListWriter
{
public:
    explicit ListWriter(OutputFile &output);
    virtual ~ListWriter() = default;
    ListWriter(const ListWriter &) = delete;
    ListWriter &operator=(const ListWriter &) = delete;

    // Whether entries need their tags read.
    [[nodiscard]] virtual bool readsTracks() const { return true; }
    // Whether only regular files are listed (not a folder or a broken link
    // whose name matches).
    [[nodiscard]] virtual bool listsOnlyFiles() const { return true; }
    // Whether a file with these tags belongs in the list at all.
    [[nodiscard]] virtual bool lists(const ListEntry &) const { return true; }
    // Why path cannot stand in this format, or null when it can.
    [[nodiscard]] virtual const char *refusal(std::string_view) const { return nullptr; }

    [[nodiscard]] virtual bool writeHeader() = 0;
    [[nodiscard]] virtual bool writeEntry(const ListEntry &entry) = 0;
    // Writes the closing lines and hands everything still held to the output.
    [[nodiscard]] virtual bool writeFooter() = 0;

protected:
    [[nodiscard]] bool flushIfFull();
    [[nodiscard]] bool flush();

    OutputFile &m_output;
    std::string m_block;
};

// What a format is told beyond its entries.
struct ListSetup
{
    std::string title;              // names the folder in a page's heading
    std::string decimalPoint = "."; // UTF-8, between the decimals of sizes in megabytes
    EntryLinks links;               // where a page's links and a playlist's entries point
    // The name of the picture in a folder given by its path below the one
    // listed ("" for that one itself), or empty; unset looks for none.
    std::function<std::string(std::string_view folder)> coverImage;
};

[[nodiscard]] std::unique_ptr<ListWriter> makeListWriter(ListFormat format, OutputFile &output,
                                                         ListSetup setup);

} // namespace tunefold
