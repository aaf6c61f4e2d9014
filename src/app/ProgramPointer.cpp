// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramPointer.h"

#include "app/RuntimeError.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tunefold {

namespace {

ProgramPointer::Value s_value = ProgramPointer::Default;

QCursor &customCursor()
{
    static QCursor cursor;
    return cursor;
}

QCursor cursorFor(ProgramPointer::Value value)
{
    return value == ProgramPointer::Custom ? customCursor() : QCursor(Qt::ArrowCursor);
}

// A pointer file is a few kilobytes; anything far larger is not one.
constexpr qint64 MaxPointerFileSize = 1 << 20;

// Reads the whole file with the system's calls, which keep errno for the
// report (QFile does not hand it on).
QByteArray readPointerFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw RuntimeError::fromErrno(errno, path);
    QByteArray bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw RuntimeError::fromErrno(error, path);
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
        if (bytes.size() > MaxPointerFileSize)
            break;
    }
    ::close(fd);
    return bytes;
}

quint16 littleEndian16(const QByteArray &bytes, qsizetype at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

} // namespace

ProgramPointer::Value ProgramPointer::value()
{
    return s_value;
}

void ProgramPointer::set(Value value)
{
    if (value == s_value)
        return;
    const bool overriding = s_value != Default;
    s_value = value;
    if (value == Default)
        QGuiApplication::restoreOverrideCursor();
    else if (overriding)
        QGuiApplication::changeOverrideCursor(cursorFor(value));
    else
        QGuiApplication::setOverrideCursor(cursorFor(value));
}

void ProgramPointer::setCustomImage(const QCursor &cursor)
{
    customCursor() = cursor;
    if (s_value == Custom)
        QGuiApplication::changeOverrideCursor(cursor);
}

const QCursor &ProgramPointer::customImage()
{
    return customCursor();
}

QCursor loadPointerFile(const QString &path)
{
    const QByteArray bytes = readPointerFile(path);
    const auto invalid = [&path] {
        return RuntimeError(RuntimeError::InvalidPicture,
                            QStringLiteral("Invalid pointer file: %1").arg(path));
    };
    // ICONDIR (reserved 0, type 2 for cursors, entry count) and the first
    // ICONDIRENTRY, whose bytes 4 to 7 hold the hotspot's x and y. Qt reads
    // the image but does not hand the hotspot on.
    constexpr qsizetype HeaderSize = 6 + 16;
    if (bytes.size() < HeaderSize || bytes.size() > MaxPointerFileSize ||
        littleEndian16(bytes, 0) != 0 || littleEndian16(bytes, 2) != 2 ||
        littleEndian16(bytes, 4) == 0)
        throw invalid();
    const int hotX = littleEndian16(bytes, 6 + 4);
    const int hotY = littleEndian16(bytes, 6 + 6);

    const QImage image = QImage::fromData(bytes, "CUR");
    if (image.isNull() || hotX >= image.width() || hotY >= image.height())
        throw invalid();
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

} // namespace tunefold
