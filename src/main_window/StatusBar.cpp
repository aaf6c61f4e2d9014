// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/StatusBar.h"

#include "forms/MouseMoves.h"

#include <QMouseEvent>

namespace tunefold {

StatusBar::StatusBar(QWidget *parent) : QLabel(parent)
{
    keepMouseMoves(this);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setIndent(2);
}

void StatusBar::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace tunefold
