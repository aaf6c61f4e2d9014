// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace tunefold {

// Reads a small regular file whole into contents. Returns 0, or the errno
// value of what went wrong: the open's or the read's own, EISDIR for a
// folder, EINVAL for anything else that is not a regular file (a pipe put
// in the file's place never blocks), EFBIG beyond maxSize bytes.
[[nodiscard]] int readSmallFile(const QString &path, qint64 maxSize, QByteArray &contents);

// The same, handing the file to take in pieces of up to 64 KiB as they are
// read, so that it is never held whole. With an error after the open, take
// may have seen part of the file.
[[nodiscard]] int readFileInPieces(const QString &path, qint64 maxSize,
                                   const std::function<void(QByteArrayView)> &take);

} // namespace tunefold
