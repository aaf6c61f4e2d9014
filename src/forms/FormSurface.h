// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/SvgPicture.h"

#include <QWidget>

namespace tunefold {

// The main window's client area: the background picture at its own size from
// the top-left corner, cut off at the edges, under the controls. Every move
// it reports is one over the window's own surface, since the controls keep
// theirs.
class FormSurface final : public QWidget
{
    Q_OBJECT

public:
    FormSurface(const QString &backgroundFile, QSizeF backgroundSize, QWidget *parent);

Q_SIGNALS:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    SvgPicture m_background;
};

} // namespace tunefold
