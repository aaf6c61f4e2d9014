// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Label.h"

#include "forms/MouseMoves.h"

#include <QMouseEvent>

namespace tunefold {

Label::Label(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    keepMouseMoves(this);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    // The text stands on the background picture, which is light whatever the
    // desktop's colours: it starts black, not in the theme's text colour.
    setForeColor(0x000000);
}

void Label::setForeColor(quint32 color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colorFromValue(color));
    setPalette(colours);
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), event->position());
}

QColor colorFromValue(quint32 color)
{
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

} // namespace tunefold
