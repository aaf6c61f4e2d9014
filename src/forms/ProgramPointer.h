// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QString>

namespace tunefold {

// The one pointer setting for all of the program's windows. Arrow and Custom
// override the pointer everywhere, lists and dialogs included, through Qt's
// application override cursor; Default lets each widget show its own.
class ProgramPointer
{
public:
    enum Value { Default, Arrow, Custom };

    [[nodiscard]] static Value value();
    // Setting the value it already has changes nothing on the screen.
    static void set(Value value);

    // The image that Custom shows. Takes effect at once if Custom is set.
    static void setCustomImage(const QCursor &cursor);
    [[nodiscard]] static const QCursor &customImage();
};

// Loads a pointer from a cursor file (the .cur format: an icon directory of
// type 2 whose entries carry the hotspot). Throws RuntimeError with the
// errno value when the file cannot be read, and with InvalidPicture when it
// is not a cursor file or its image cannot be decoded.
[[nodiscard]] QCursor loadPointerFile(const QString &path);

// cursor drawn scale times as large, its hotspot on the same spot of the
// picture; the pointer grows with the windows' logical inch, and with the
// screen's devicePixelRatio device pixels to the logical one.
[[nodiscard]] QCursor scaledPointer(const QCursor &cursor, double scale,
                                    qreal devicePixelRatio = 1);

} // namespace tunefold
