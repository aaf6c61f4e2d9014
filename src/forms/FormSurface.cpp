// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/FormSurface.h"

#include <QMouseEvent>
#include <QPainter>

namespace tunefold {

FormSurface::FormSurface(const QString &backgroundFile, QSizeF backgroundSize, QWidget *parent)
    : QWidget(parent), m_background(backgroundFile, backgroundSize)
{
    setMouseTracking(true);
    // The picture covers the whole area: Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FormSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, m_background.pixmap(size(), devicePixelRatioF()));
}

void FormSurface::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), event->position());
}

} // namespace tunefold
