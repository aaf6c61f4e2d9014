// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/ProgramPointer.h"

#include "forms/RuntimeError.h"
#include "platform/SmallFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cerrno>
#include <cmath>

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
    const auto invalid = [&path] {
        return RuntimeError(RuntimeError::InvalidPicture,
                            QStringLiteral("Invalid pointer file: %1").arg(path));
    };
    QByteArray bytes;
    // Something that is no file, or far too large for a pointer, holds no
    // pointer; anything else the system refused is reported as it said.
    if (const int error = readSmallFile(path, MaxPointerFileSize, bytes); error != 0)
        throw error == EINVAL || error == EFBIG ? invalid() : RuntimeError::fromErrno(error, path);
    // ICONDIR (reserved 0, type 2 for cursors, entry count) and the first
    // ICONDIRENTRY, whose bytes 4 to 7 hold the hotspot's x and y. Qt reads
    // the image but does not hand the hotspot on.
    constexpr qsizetype HeaderSize = 6 + 16;
    if (bytes.size() < HeaderSize || littleEndian16(bytes, 0) != 0 ||
        littleEndian16(bytes, 2) != 2 || littleEndian16(bytes, 4) == 0)
        throw invalid();
    const int hotX = littleEndian16(bytes, 6 + 4);
    const int hotY = littleEndian16(bytes, 6 + 6);

    const QImage image = QImage::fromData(bytes, "CUR");
    if (image.isNull() || hotX >= image.width() || hotY >= image.height())
        throw invalid();
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

QCursor scaledPointer(const QCursor &cursor, double scale, qreal devicePixelRatio)
{
    const QPixmap image = cursor.pixmap();
    // X11 shows a pointer picture pixel for device pixel, whatever ratio the
    // pixmap carries, and takes its hotspot in those pixels too: so both are
    // made in device pixels.
    const double deviceScale = scale * devicePixelRatio;
    if (image.isNull() || qFuzzyCompare(deviceScale, 1.0))
        return cursor;
    // Pointer pictures are pixel art: nearest-neighbour keeps their edges
    // crisp at whole steps, smoothing keeps them even in between.
    const bool wholeStep = qFuzzyCompare(deviceScale, std::round(deviceScale));
    const QSize size = (QSizeF(image.size()) * deviceScale).toSize();
    const QPoint hotSpot = (QPointF(cursor.hotSpot()) * deviceScale).toPoint();
    return QCursor(image.scaled(size, Qt::IgnoreAspectRatio,
                                wholeStep ? Qt::FastTransformation : Qt::SmoothTransformation),
                   std::min(hotSpot.x(), size.width() - 1),
                   std::min(hotSpot.y(), size.height() - 1));
}

} // namespace tunefold
