// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tunefold {

// Makes a control receive every pointer movement, with or without a button
// held, and keep it: Qt hands a move that a child does not take on to its
// parent, where it would count as a move over the window's own surface.
inline void keepMouseMoves(QWidget *control)
{
    control->setMouseTracking(true);
    control->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace tunefold
