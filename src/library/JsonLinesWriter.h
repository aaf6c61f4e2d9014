// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"

namespace tunefold {

// JSON Lines: one object a file, each on its own line, for scripts:
//   {"path":"A/01 x.mp3","size":123,"title":"","artist":"","album":"",
//    "track":null,"seconds":205,"bitrate":128}
// Every line is valid JSON in UTF-8. "path" is the relative name, with
// U+FFFD for each byte that is not UTF-8; only then "path_base64" follows it
// with the name's exact bytes in base64 (RFC 4648). Numbers not known are null.
class JsonLinesWriter final : public ListWriter
{
public:
    using ListWriter::ListWriter;

    bool writeHeader() override { return true; }
    bool writeEntry(const ListEntry &entry) override;
    bool writeFooter() override { return flush(); }
};

} // namespace tunefold
