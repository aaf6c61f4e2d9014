// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

namespace tunefold {

// Comma-separated values (RFC 4180) in UTF-8 for spreadsheets: a header row,
// then one record a file with the fields of the JSON Lines format, each
// record ended by CR LF:
//   path,size,title,artist,album,disc,track,year,genre,seconds,bitrate
// A field holding a comma, a quote or a line break is quoted, its quotes
// doubled. Bytes that are not UTF-8 show as U+FFFD, as in the page; what is
// not known is an empty field, and seconds have three decimals.
class CsvWriter final : public ListWriter
{
public:
    using ListWriter::ListWriter;

    bool writeHeader() override;
    bool writeEntry(const ListEntry &entry) override;
    bool writeFooter() override { return flush(); }

private:
    void appendField(std::string_view text);

    std::string m_field;
};

} // namespace tunefold
