// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tunefold {

class OutputFile;

// Writes the list document: two credit lines and a table of names and sizes,
// every line ended by CR LF. Lines are gathered in a block and handed to the
// output in large writes; memory stays the same however many rows follow.
class ListDocument
{
public:
    // decimalPoint is the locale's separator as UTF-8.
    ListDocument(OutputFile &output, std::string decimalPoint);

    [[nodiscard]] bool writeHeader();
    [[nodiscard]] bool writeEntry(std::string_view name, std::uint64_t size);
    // Writes the closing lines and hands everything still held to the output.
    [[nodiscard]] bool writeFooter();

private:
    [[nodiscard]] bool flushIfFull();

    OutputFile &m_output;
    std::string m_decimalPoint;
    std::string m_block;
};

// The name cell's text: the name with "<", ">" and control characters
// written as references, then NULs up to 260 characters (at least one).
void appendNameField(std::string &out, std::string_view name);

// The size in megabytes (2^20 bytes) with two decimals, halves rounded away
// from zero, computed exactly.
void appendSizeText(std::string &out, std::uint64_t bytes, std::string_view decimalPoint);

} // namespace tunefold
