// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <utility>

namespace tunefold {

SvgPicture::SvgPicture(QString file, QSizeF ownSize) : m_file(std::move(file)), m_ownSize(ownSize)
{
}

const QPixmap &SvgPicture::pixmap(QSize size, qreal devicePixelRatio)
{
    if (!m_cache.isNull() && m_cache.deviceIndependentSize().toSize() == size &&
        qFuzzyCompare(m_cache.devicePixelRatio(), devicePixelRatio))
        return m_cache;

    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(m_file);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF target = m_ownSize.isEmpty() ? QRectF(QPointF(0, 0), QSizeF(size))
                                                  : QRectF(QPointF(0, 0), m_ownSize);
        renderer.render(&painter, target);
    }
    m_cache = pixmap;
    return m_cache;
}

} // namespace tunefold
