// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/EntryWriting.h"

#include "list/NaturalOrder.h"
#include "platform/FolderSearch.h"
#include "platform/TrackReader.h"

#include <fcntl.h>
#include <unistd.h>

namespace tunefold {

namespace {

class Rows
{
public:
    Rows(ListWriter &writer, const ListRequest &request)
        : m_writer(writer), m_request(request),
          m_reader(writer.readsTracks() ? request.tracks : nullptr)
    {
    }

    [[nodiscard]] bool readsTracks() const { return m_reader != nullptr; }

    // Reads the entry's tags from path below atFd, when the format shows
    // them, and writes its row.
    [[nodiscard]] bool write(std::string_view path, std::uint64_t size, int atFd,
                             const char *fileName)
    {
        if (const char *reason = m_writer.refusal(path)) {
            m_result.refusedSome = true;
            if (m_request.refused)
                m_request.refused(path, reason);
            return true;
        }
        ListEntry entry{path, size, nullptr};
        if (m_reader) {
            if (fileName)
                m_reader->read(atFd, fileName, m_track);
            else
                m_track.clear();
            entry.track = &m_track;
        }
        if (!m_writer.writeEntry(entry))
            return false;
        ++m_result.count;
        return true;
    }

    EntriesWritten &result() { return m_result; }

private:
    ListWriter &m_writer;
    const ListRequest &m_request;
    TrackReader *m_reader;
    TrackInfo m_track;
    EntriesWritten m_result;
};

// Closes the folder opened for reading sorted entries on every way out.
struct FolderFd
{
    int fd;
    ~FolderFd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

EntriesWritten writeEntries(const QByteArray &folder, FolderSearch &search,
                            const FolderEntry &first, ListWriter &writer,
                            const ListRequest &request)
{
    Rows rows(writer, request);
    if (!writer.writeHeader())
        return rows.result();
    bool written = true;
    if (!request.sortByName) {
        FolderEntry entry = first;
        do {
            written = rows.write(entry.name, entry.size, entry.folderFd,
                                 entry.folderFd >= 0 ? entry.leafName : nullptr);
        } while (written && search.findNext(entry));
    } else {
        std::vector<KeptEntry> kept;
        FolderEntry entry = first;
        do {
            kept.push_back({std::string(entry.name), entry.size, {}});
            kept.back().key =
                QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        } while (search.findNext(entry));
        sortNaturally(kept);
        // The search is over, so each file is found again by its path.
        const FolderFd root{rows.readsTracks()
                                ? ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                : -1};
        for (const KeptEntry &one : kept) {
            written = rows.write(one.path, one.size, root.fd,
                                 root.fd >= 0 ? one.path.c_str() : nullptr);
            if (!written)
                break;
        }
    }
    rows.result().written = written && writer.writeFooter();
    return rows.result();
}

} // namespace tunefold
