// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "CursorFile.h"

#include <QtEndian>

namespace tunefold::artwork {

namespace {

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

constexpr int DirectorySize = 6;
constexpr int EntrySize = 16;
constexpr int InfoHeaderSize = 40;

} // namespace

QByteArray CursorFile::encode(const QImage &image, QPoint hotspot)
{
    if (image.isNull() || image.width() > 256 || image.height() > 256 ||
        !image.rect().contains(hotspot))
        return {};

    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    const int maskStride = ((w + 31) / 32) * 4; // rows of the AND mask end on 32-bit boundaries
    const int pixelBytes = w * h * 4;
    const int maskBytes = maskStride * h;
    const int resourceBytes = InfoHeaderSize + pixelBytes + maskBytes;

    QByteArray out;
    out.reserve(DirectorySize + EntrySize + resourceBytes);

    // ICONDIR: reserved, type 2 (cursor), one entry
    put16(out, 0);
    put16(out, 2);
    put16(out, 1);

    // ICONDIRENTRY: a size of 256 is stored as 0; for cursors the two 16-bit
    // fields that icons use for planes and bit count hold the hotspot.
    out.append(char(w == 256 ? 0 : w));
    out.append(char(h == 256 ? 0 : h));
    out.append(char(0)); // no palette
    out.append(char(0)); // reserved
    put16(out, quint16(hotspot.x()));
    put16(out, quint16(hotspot.y()));
    put32(out, quint32(resourceBytes));
    put32(out, quint32(DirectorySize + EntrySize));

    // BITMAPINFOHEADER: the height counts the pixel rows and the mask rows
    put32(out, InfoHeaderSize);
    put32(out, quint32(w));
    put32(out, quint32(2 * h));
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    put32(out, 0);  // BI_RGB
    put32(out, quint32(pixelBytes + maskBytes));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    QByteArray mask(maskBytes, '\0');
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row; // both tables run bottom-up
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb px = line[x];
            const bool opaque = qAlpha(px) >= 128;
            out.append(char(opaque ? qBlue(px) : 0));
            out.append(char(opaque ? qGreen(px) : 0));
            out.append(char(opaque ? qRed(px) : 0));
            out.append(char(opaque ? 255 : 0));
            if (!opaque) {
                char &bits = mask[row * maskStride + x / 8];
                bits = char(bits | (0x80 >> (x % 8)));
            }
        }
    }
    out.append(mask);
    return out;
}

} // namespace tunefold::artwork
