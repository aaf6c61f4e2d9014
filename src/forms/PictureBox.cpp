// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/PictureBox.h"

#include "forms/MouseMoves.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace tunefold {

namespace {

// Assistive tools see a picture, not a bare client area. It offers no
// action: the star starts a list only on a click of the mouse.
QAccessibleInterface *accessiblePicture(const QString &className, QObject *object)
{
    if (className == QLatin1String(PictureBox::staticMetaObject.className()) &&
        object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

PictureBox::PictureBox(const QString &file, const QString &name, QWidget *parent)
    : QWidget(parent), m_picture(file)
{
    static const bool described = (QAccessible::installFactory(accessiblePicture), true);
    Q_UNUSED(described);
    keepMouseMoves(this);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(name);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture.pixmap(size(), devicePixelRatioF()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace tunefold
