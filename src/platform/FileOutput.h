// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/OutputFile.h"

#include <QByteArrayView>

#include <sys/stat.h>

namespace tunefold {

// Writes all of bytes to fd, going on after short writes and interruptions.
// Returns 0, or the errno of the write that failed.
[[nodiscard]] int writeAll(int fd, QByteArrayView bytes);

// A document's target on disk, written the way the user means it. The
// target is opened as open(2) opens it, links followed, so the kernel's loop
// detection and link protections apply. Then, by what it turns out to be:
// - not a regular file (a device, a FIFO, /dev/fd/N): written as it is;
// - a regular file with one link whose folder we may write and whose owner,
//   group, mode and extended attributes a new file can be given, or a file
//   that did not exist: the document goes to a temporary file beside it that
//   gets all of those and is renamed over it on commit(), so every failure
//   leaves the old file (or none) as it was;
// - any other regular file: emptied and written in place, so that its links,
//   owner and attributes stay; a failure leaves what was written.
// Errors are the system's own text for the call that failed.
class FileOutput final : public OutputFile
{
public:
    FileOutput() = default;
    ~FileOutput() override;
    FileOutput(const FileOutput &) = delete;
    FileOutput &operator=(const FileOutput &) = delete;

    [[nodiscard]] bool open(const QByteArray &path) override;
    [[nodiscard]] bool write(std::string_view bytes) override;
    [[nodiscard]] bool commit() override;
    void discard() override;
    [[nodiscard]] QString errorString() const override;

private:
    enum Mode { Closed, InPlace, Replace };

    [[nodiscard]] bool prepareReplace(const struct stat &target);
    [[nodiscard]] bool fail(int error);
    void close();

    Mode m_mode = Closed;
    int m_target = -1;      // the target as open(2) found or made it
    int m_folder = -1;      // the folder the target really lies in
    int m_temp = -1;        // the new content, for Replace
    QByteArray m_tempName;  // in m_folder
    int m_cleanupSlot = -1; // of TempFileCleanup, while m_tempName exists
    QByteArray m_name;      // the target's name in m_folder
    QByteArray m_createdAt; // where open() made a new file, removed on failure
    bool m_regular = false;
    QString m_error;
};

} // namespace tunefold
