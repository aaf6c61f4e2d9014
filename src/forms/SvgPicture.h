// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QSizeF>
#include <QString>

namespace tunefold {

// A vector picture rendered once into a pixmap and drawn from that cache on
// every paint. The file is read only when the first pixmap is asked for, so
// a picture that is never painted costs nothing at start.
class SvgPicture
{
public:
    // ownSize: the picture's size in logical pixels when it is drawn at its
    // own size from the top-left corner and cut off at the area's edges;
    // empty to stretch it over the whole area instead.
    explicit SvgPicture(QString file, QSizeF ownSize = {});

    // The picture for an area of size logical pixels at the given device
    // pixel ratio. Rendered again only when either changes. A file that
    // cannot be read gives a transparent pixmap.
    [[nodiscard]] const QPixmap &pixmap(QSize size, qreal devicePixelRatio);

    [[nodiscard]] const QString &file() const { return m_file; }

private:
    QString m_file;
    QSizeF m_ownSize;
    QPixmap m_cache;
};

} // namespace tunefold
