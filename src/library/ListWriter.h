// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
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

// folder names the list in a page's title; decimalPoint (UTF-8) separates
// the decimals of sizes in megabytes.
[[nodiscard]] std::unique_ptr<ListWriter> makeListWriter(ListFormat format, OutputFile &output,
                                                         std::string_view folder,
                                                         std::string decimalPoint);

} // namespace tunefold
