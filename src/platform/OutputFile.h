// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace tunefold {

// Where a document is written. Where the target allows it (a file that is
// replaced), nothing written counts until commit() succeeds, so a failure
// part way leaves whatever was there before; a pipe or a device gets the
// bytes as they are written.
class OutputFile
{
public:
    virtual ~OutputFile() = default;

    // path: the target's name as the file system spells it.
    [[nodiscard]] virtual bool open(const QByteArray &path) = 0;
    [[nodiscard]] virtual bool write(std::string_view bytes) = 0;
    // Makes the written bytes the file's content.
    [[nodiscard]] virtual bool commit() = 0;
    // Throws away what was written where that can be done; a replaced file
    // stays as it was.
    virtual void discard() = 0;
    // The system's reason for the last failure.
    [[nodiscard]] virtual QString errorString() const = 0;
};

} // namespace tunefold
