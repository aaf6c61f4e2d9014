// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/ListWriter.h"
#include "list/ListGeneration.h"

#include <QByteArray>
#include <functional>
#include <memory>

namespace tunefold {

class FolderSearch;
class TrackReader;
struct FolderEntry;

// How a list is made beyond where it goes.
struct ListRequest
{
    ListFormat format = ListFormat::Fragment;
    // Collects every entry and sorts them before writing: memory then grows
    // with their number.
    bool sortByName = false;
    // Makes the readers of tags for the formats that show them, one for each
    // thread that reads; empty leaves their cells empty.
    std::function<std::unique_ptr<TrackReader>()> trackReaders;
    // Told about an entry left out because the format cannot hold its name.
    std::function<void(std::string_view path, const char *reason)> refused;
};

// Writes first and every further match of search through writer, header and
// footer included. folder is the folder searched, from which sorted entries
// are opened for their tags.
[[nodiscard]] EntriesWritten writeEntries(const QByteArray &folder, FolderSearch &search,
                                          const FolderEntry &first, ListWriter &writer,
                                          const ListRequest &request);

// The entry writing that generateList() takes for request: the writer of its
// format, fed by writeEntries().
[[nodiscard]] EntryWriting entryWriting(ListRequest request);

} // namespace tunefold
